#pragma once

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace vek {

class TDModule;

// The rows offered by the record chooser and the one the user is on. The chooser shows
// them; the caller reads currentRecord() after it closed.
class RecordChoice {
public:
    RecordChoice() = default;

    // Every row of a stored SELECT text (run prepared: one statement only). Throws DbError.
    static RecordChoice fromQuery(TDModule &db, const QString &selectText);
    // Every row of a table. Throws DbError.
    static RecordChoice fromTable(TDModule &db, const QString &table);
    // The rows of a lookup: its SELECT text, or its whole table when the text is blank or
    // does not run. Throws DbError when neither runs.
    static RecordChoice forLookup(TDModule &db, const QString &fromTableSql, const QString &fromTable);

    int rowCount() const { return int(m_rows.size()); }
    int columnCount() const { return m_columns.count(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    QStringList columnNames() const;
    QVariant value(int row, int column) const;

    // The current row: the first one after loading, -1 when there are none.
    int current() const { return m_current; }
    void setCurrent(int row);
    // The current row's values; without a current row, the columns with null values.
    QSqlRecord currentRecord() const;

private:
    void load(TDModule &db, const QString &sql);

    QSqlRecord m_columns;
    QList<QSqlRecord> m_rows;
    int m_current = -1;
};

} // namespace vek
