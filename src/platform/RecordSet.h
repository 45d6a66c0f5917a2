#pragma once

#include "ColumnInfo.h"
#include "RowKeys.h"
#include "RowPages.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <memory>

namespace vek {

class TDModule;

// The widget-free cursor over one table that grids and forms share. Opening reads only
// the row keys (SQLite's rowid, or the primary key on the server); a row's values are
// fetched when it is visited, so a large table opens as fast as a small one.
//
// Editing: edit() or insert() start a change in a buffer, post() writes it in one
// transaction between the beforePost and afterPost hooks, cancel() drops it. A hook
// refuses by throwing; the transaction is then rolled back and the buffer kept, so
// nothing typed is lost.
class RecordSet {
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Hook = std::function<void(RecordSet &)>;

    explicit RecordSet(TDModule &db);
    ~RecordSet();

    // Opens table with fields (all when empty), an optional condition text with its
    // bound values, and an optional ORDER BY text. Throws DbError.
    void open(const QString &table, const QStringList &fields = {}, const QString &condition = {},
              const QVariantMap &binds = {}, const QString &orderBy = {});
    void close();
    // Re-reads the keys with the same query, staying on the same row where it still exists.
    void refresh();

    State state() const { return m_state; }
    bool isOpen() const { return m_state != State::Inactive; }
    bool readOnly() const { return m_keyColumn.isEmpty(); }
    QString table() const { return m_table; }
    const ColumnList &columns() const { return m_columns; }
    int columnIndex(const QString &field) const;

    int rowCount() const { return int(m_keys.size()); }
    int currentRow() const { return m_row; }
    bool seek(int row);
    bool first() { return seek(0); }
    bool last() { return seek(rowCount() - 1); }
    bool next() { return seek(m_row + 1); }
    bool prior() { return seek(m_row - 1); }
    QVariant keyAt(int row) const { return m_keys.value(row); }
    // Forgets the row values read so far (changed elsewhere): visited rows are read
    // again, the keys stay.
    void forgetRows() { m_cache.clear(); }
    // The row holding key, or -1.
    int rowOfKey(const QVariant &key) const { return int(m_keys.indexOf(key)); }
    // Re-reads the keys in a new order (an ORDER BY text, empty: table order) under the
    // same condition, staying on the current record. Only while browsing. Throws DbError.
    void sort(const QString &orderBy);

    // Values of the current row (of the edit buffer while editing).
    QVariant value(const QString &field) const;
    QVariant valueAt(int row, const QString &field);
    QVariant valueAt(int row, int column);
    void setValue(const QString &field, const QVariant &value);
    bool isModified() const { return m_modified; }

    void edit();
    void insert();
    void post();
    void cancel();
    void remove();
    // Deletes the given rows (positions) in one transaction, without beforeDelete: the
    // caller asked once for all of them. All or nothing.
    void removeRows(QList<int> rows);
    // Deletes every row of the set (its condition) in one statement.
    void removeAll();

    QString condition() const { return m_condition; }
    QVariantMap binds() const { return m_binds; }
    QString orderBy() const { return m_orderBy; }
    // The key column as it appears in SQL (rowid, or the quoted primary key).
    QString keyExpression() const;

    Hook beforeInsert; // before insert() fills the buffer; may throw to refuse
    Hook onNewRecord;  // after insert() made the empty buffer: fill defaults here
    Hook beforeEdit;   // before edit() copies the row; may throw to refuse
    Hook beforePost;   // may throw to refuse
    Hook afterPost;    // runs inside the same transaction, after the row is written
    Hook afterCommit;  // after the save is committed and the set is browsing again
    Hook beforeDelete; // may throw to refuse

private:
    const QVariantList &rowValues(int row);
    void loadKeys();
    QString selectList() const;
    void requireState(State s, const char *what) const;

    TDModule &m_db;
    QString m_table;
    QString m_condition;
    QVariantMap m_binds;
    QString m_orderBy;
    ColumnList m_columns;
    QString m_keyColumn; // empty: the table cannot be edited (no row identity)
    bool m_rowid = false;
    RowKeys m_keys;
    RowPages m_cache;
    std::unique_ptr<Query> m_pageQuery; // the page read prepared last
    int m_row = -1;
    State m_state = State::Inactive;
    QVariantList m_buffer;
    bool m_modified = false;
};

} // namespace vek
