#pragma once

#include <QString>
#include <QVariant>

namespace vek {

class Query;
class SqlDialect;

// Which dictionary rows describe the fields of a record set. Rows are found by one rule,
// in this order of precedence: the rows keyed by the resource title, then the rows keyed
// by the physical table name, then the public rows (TableName NULL or blank), which
// describe a field name for every resource. Keys compare without regard to case and
// surrounding blanks.
class DictionaryKey {
public:
    enum class Level { Title = 0, Table = 1, Public = 2, None = 3 };

    DictionaryKey() = default;
    // Usually the resource title; the table is the record set's physical table, when known.
    DictionaryKey(const QString &title, const QString &table = QString());
    static DictionaryKey forTable(const QString &table) { return DictionaryKey(QString(), table); }

    QString title() const { return m_title; }
    QString table() const { return m_table; }
    bool hasTitle() const { return !m_title.isEmpty(); }
    bool hasTable() const { return !m_table.isEmpty(); }

    // Where a stored TableName stands in the order above; None when it is not this key's.
    Level levelOf(const QVariant &storedTableName) const;

    // SQL condition on the column TableName (optionally qualified, e.g. "t1.") that selects
    // this key's rows, with the public rows when withPublic. Uses :HostKeyTitle and
    // :HostKeyTable, which bind() sets.
    QString condition(const SqlDialect &dialect, bool withPublic, const QString &qualifier = QString()) const;
    void bind(Query &q) const;

private:
    QString m_title;
    QString m_table;
};

} // namespace vek
