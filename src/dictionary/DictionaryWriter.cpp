#include "DictionaryWriter.h"

#include "DictionaryKey.h"
#include "DictionaryRows.h"

#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QStringList>

namespace vek {

QString DictionaryWriter::TypeNameFor(const ColumnInfo &c)
{
    using K = ColumnInfo::Kind;
    if (c.autoIncrement)
        return QStringLiteral("自动");
    switch (c.kind) {
    case K::Text:
        return QStringLiteral("字符");
    case K::Memo:
        return QStringLiteral("文本");
    case K::Integer:
        return QStringLiteral("整数");
    case K::Float:
        return QStringLiteral("浮点");
    case K::Currency:
        return QStringLiteral("货币");
    case K::Boolean:
        return QStringLiteral("逻辑");
    case K::Date:
        return QStringLiteral("日期");
    case K::DateTime:
        return QStringLiteral("日期时间");
    case K::Blob:
        return QStringLiteral("大对象");
    case K::Other:
        if (c.declaredType.trimmed().startsWith("time", Qt::CaseInsensitive))
            return QStringLiteral("时间");
        return QString();
    }
    return QString();
}

int DictionaryWriter::FillDictionaryFromTable(const QString &table)
{
    const QString actual = m_db.actualTableName(table.trimmed());
    if (actual.isEmpty())
        throw DbError(QStringLiteral("数据表不存在: %1").arg(table));
    const ColumnList columns = m_db.columns(actual);
    const SqlDialect &d = m_db.dialect();

    Transaction tx(m_db);
    const DictionaryRows existing = DictionaryRows::load(m_db, DictionaryKey::forTable(actual), false);
    const QString no = d.boolLiteral(false);
    const QString sql = "INSERT INTO usys_dict (TableName, EField, IsDefine, " + d.quoteIdent("IsNull")
        + ", AutoAdd, isUnique, " + d.quoteIdent("readonly") + ", DocFile, ChooseInput, Radio, CountFlag) "
        + "VALUES (:HostTable, :HostField, 1, " + QStringList(8, no).join(", ") + ")";
    int written = 0;
    for (const ColumnInfo &c : columns) {
        if (c.kind != ColumnInfo::Kind::Text || existing.fields().contains(c.name, Qt::CaseInsensitive))
            continue;
        Query::run(m_db, sql, {{":HostTable", actual}, {":HostField", c.name}});
        ++written;
    }
    tx.commit();
    return written;
}

} // namespace vek
