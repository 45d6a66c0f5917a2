#include "TableNames.h"

#include "platform/DbError.h"
#include "platform/TDModule.h"

namespace vek {

TableNames::TableNames(TDModule &db, const QString &table) : m_db(db)
{
    const QString actual = db.actualTableName(table.trimmed());
    if (actual.isEmpty())
        throw DbError(QStringLiteral("数据表不存在: %1").arg(table));
    m_quotedTable = db.dialect().quoteExactIdent(actual);
    for (const ColumnInfo &c : db.columns(actual))
        m_fields << c.name;
}

QString TableNames::field(const QString &name) const
{
    const QString wanted = name.trimmed();
    for (const QString &f : m_fields) {
        if (f.compare(wanted, Qt::CaseInsensitive) == 0)
            return m_db.dialect().quoteExactIdent(f);
    }
    throw DbError(QStringLiteral("字段不存在: %1").arg(name));
}

} // namespace vek
