#include "NamePickerModel.h"

#include "platform/Query.h"
#include "platform/TDModule.h"

namespace vek {

namespace {

void fill(TDModule &db, const QString &sql, const QStringList &given, QList<NamePickerModel::Entry> &out)
{
    out.clear();
    Query q(db, sql);
    while (q.next()) {
        const QString name = q.value(0).toString().trimmed();
        bool seen = false;
        for (const auto &e : std::as_const(out))
            seen = seen || e.name.compare(name, Qt::CaseInsensitive) == 0;
        if (!name.isEmpty() && !seen)
            out << NamePickerModel::Entry{name, given.contains(name, Qt::CaseInsensitive)};
    }
}

} // namespace

void NamePickerModel::load(const NameList &given)
{
    fill(m_db, QStringLiteral("SELECT uid FROM usys_Users ORDER BY id"), given.users, m_users);
    fill(m_db, "SELECT GroupName FROM usys_usergroup ORDER BY " + m_db.dialect().ciKey("GroupName"), given.groups,
         m_groups);
}

void NamePickerModel::setUserChecked(int row, bool on)
{
    if (row >= 0 && row < m_users.size())
        m_users[row].checked = on;
}

void NamePickerModel::setGroupChecked(int row, bool on)
{
    if (row >= 0 && row < m_groups.size())
        m_groups[row].checked = on;
}

NameList NamePickerModel::result() const
{
    NameList list;
    for (const Entry &e : m_users) {
        if (e.checked)
            list.users << e.name;
    }
    for (const Entry &e : m_groups) {
        if (e.checked)
            list.groups << e.name;
    }
    return list;
}

} // namespace vek
