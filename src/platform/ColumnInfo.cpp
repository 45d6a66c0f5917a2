#include "ColumnInfo.h"

#include <QRegularExpression>

namespace vek {

ColumnInfo::Kind ColumnInfo::kindOfDeclaredType(const QString &declared)
{
    const QString t = declared.trimmed().toLower();
    auto starts = [&](const char *p) { return t.startsWith(QLatin1String(p)); };
    if (t.isEmpty())
        return Kind::Other;
    if (starts("bit") || starts("bool"))
        return Kind::Boolean;
    if (starts("money") || starts("currency") || starts("numeric(19,4)") || starts("decimal(19,4)"))
        return Kind::Currency;
    if (starts("int") || starts("smallint") || starts("bigint") || starts("tinyint") || starts("counter")
        || starts("autoinc") || starts("serial"))
        return Kind::Integer;
    if (starts("float") || starts("double") || starts("real") || starts("numeric") || starts("decimal"))
        return Kind::Float;
    if (starts("datetime") || starts("timestamp"))
        return Kind::DateTime;
    if (starts("date"))
        return Kind::Date;
    if (starts("text") || starts("memo") || starts("clob") || starts("ntext"))
        return Kind::Memo;
    if (starts("blob") || starts("bytea") || starts("image") || starts("longbinary") || starts("binary"))
        return Kind::Blob;
    if (starts("varchar") || starts("char") || starts("character") || starts("nvarchar") || starts("nchar")
        || starts("string"))
        return Kind::Text;
    return Kind::Other;
}

} // namespace vek
