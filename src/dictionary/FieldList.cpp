#include "FieldList.h"

namespace vek {

FieldList::FieldList(const QString &commaList)
{
    const QString text = commaList.trimmed();
    if (text.isEmpty() || text == QLatin1String("*"))
        return;
    m_all = false;
    for (const QString &item : text.split(','))
        m_names << item.trimmed();
}

FieldList::FieldList(const QStringList &names)
{
    for (const QString &n : names) {
        if (!n.trimmed().isEmpty())
            m_names << n.trimmed();
    }
    m_all = m_names.isEmpty();
}

int FieldList::indexOf(const QString &field) const
{
    const QString f = field.trimmed();
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).compare(f, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString FieldList::spelling(const QString &field) const
{
    const int i = m_all ? -1 : indexOf(field);
    return i >= 0 ? m_names.at(i) : field.trimmed();
}

} // namespace vek
