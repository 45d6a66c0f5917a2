#include "RecordChoice.h"

#include "platform/StoredStatement.h"

#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

namespace vek {

void RecordChoice::load(TDModule &db, const QString &sql)
{
    Query q(db);
    q.prepare(StoredStatement::single(sql)).exec();
    m_columns = q.record();
    m_rows.clear();
    while (q.next())
        m_rows << q.record();
    m_current = m_rows.isEmpty() ? -1 : 0;
}

RecordChoice RecordChoice::fromQuery(TDModule &db, const QString &selectText)
{
    RecordChoice c;
    c.load(db, selectText);
    return c;
}

RecordChoice RecordChoice::fromTable(TDModule &db, const QString &table)
{
    const QString actual = db.actualTableName(table.trimmed());
    if (actual.isEmpty())
        throw DbError(QStringLiteral("数据表不存在: %1").arg(table));
    return fromQuery(db, "SELECT * FROM " + db.dialect().quoteExactIdent(actual));
}

RecordChoice RecordChoice::forLookup(TDModule &db, const QString &fromTableSql, const QString &fromTable)
{
    if (!fromTableSql.trimmed().isEmpty()) {
        try {
            return fromQuery(db, fromTableSql.trimmed());
        } catch (const DbError &) {
        }
    }
    return RecordChoice::fromTable(db, fromTable);
}

QStringList RecordChoice::columnNames() const
{
    QStringList out;
    for (int i = 0; i < m_columns.count(); ++i)
        out << m_columns.fieldName(i);
    return out;
}

QVariant RecordChoice::value(int row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        return QVariant();
    return m_rows.at(row).value(column);
}

void RecordChoice::setCurrent(int row)
{
    m_current = row >= 0 && row < m_rows.size() ? row : -1;
}

QSqlRecord RecordChoice::currentRecord() const
{
    if (m_current < 0) {
        QSqlRecord empty = m_columns;
        empty.clearValues();
        return empty;
    }
    return m_rows.at(m_current);
}

} // namespace vek
