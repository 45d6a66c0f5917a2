#include "DictionaryKey.h"

#include "platform/Query.h"
#include "platform/SqlDialect.h"

#include <QStringList>

namespace vek {

DictionaryKey::DictionaryKey(const QString &title, const QString &table)
    : m_title(title.trimmed()), m_table(table.trimmed())
{
    // A table named like the title adds nothing: its rows are the title's rows.
    if (!m_title.isEmpty() && m_title.compare(m_table, Qt::CaseInsensitive) == 0)
        m_table.clear();
}

DictionaryKey::Level DictionaryKey::levelOf(const QVariant &storedTableName) const
{
    const QString stored = storedTableName.isNull() ? QString() : storedTableName.toString().trimmed();
    if (stored.isEmpty())
        return Level::Public;
    if (hasTitle() && stored.compare(m_title, Qt::CaseInsensitive) == 0)
        return Level::Title;
    if (hasTable() && stored.compare(m_table, Qt::CaseInsensitive) == 0)
        return Level::Table;
    return Level::None;
}

QString DictionaryKey::condition(const SqlDialect &dialect, bool withPublic, const QString &qualifier) const
{
    const QString column = qualifier + "TableName";
    const QString trimmed = "TRIM(" + column + ")";
    QStringList parts;
    if (hasTitle())
        parts << dialect.ciEquals(trimmed, ":HostKeyTitle");
    if (hasTable())
        parts << dialect.ciEquals(trimmed, ":HostKeyTable");
    if (withPublic)
        parts << column + " IS NULL" << trimmed + " = ''";
    if (parts.isEmpty())
        return QStringLiteral("1 = 0");
    return "(" + parts.join(" OR ") + ")";
}

void DictionaryKey::bind(Query &q) const
{
    if (hasTitle())
        q.bind(":HostKeyTitle", m_title);
    if (hasTable())
        q.bind(":HostKeyTable", m_table);
}

} // namespace vek
