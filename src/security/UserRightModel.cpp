#include "UserRightModel.h"

#include "Permissions.h"
#include "RightsStore.h"

#include "platform/Query.h"
#include "platform/TDModule.h"

#include <algorithm>

namespace vek {

UserRightModel::UserRightModel(TDModule &db, const CurrentUser &actor) : m_db(db), m_actor(actor) {}

void UserRightModel::load(const QString &userId)
{
    Permissions::require(Permissions(m_db, m_actor).mayEditUserRights());
    m_userId = userId.trimmed();
    m_rows.clear();

    const QVariant storedLevel =
        Query::scalar(m_db, "SELECT ulevel FROM usys_Users WHERE " + m_db.dialect().ciEquals("uid", ":HostUid"),
                      {{":HostUid", m_userId}});
    const bool systemUser = !storedLevel.isNull() && CurrentUser::levelFromStored(storedLevel) == 0;

    {
        Query q(m_db,
                QStringLiteral("SELECT id, AppTitle, ShareFlag, Owner FROM usys_system WHERE Flag <> '' ORDER BY id"));
        while (q.next()) {
            UserRightEntry e;
            e.resourceId = q.value(0).toInt();
            e.title = q.value(1).toString().trimmed();
            e.shared = q.value(2).toBool();
            e.fixed = systemUser || q.value(3).toString().trimmed().compare(m_userId, Qt::CaseInsensitive) == 0;
            m_rows << e;
        }
    }
    // Rows are read after the resource query is done: the server driver keeps one result at a time.
    const RightsStore store(m_db);
    for (UserRightEntry &e : m_rows) {
        if (e.fixed)
            e.rights = RightsRecord::all();
        else if (const auto stored = store.resourceRow(e.resourceId, m_userId))
            e.rights = *stored;
        else
            e.rights.browse = e.shared;
        e.loaded = e.rights;
    }
}

int UserRightModel::indexOfResource(int resourceId) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).resourceId == resourceId)
            return i;
    }
    return -1;
}

void UserRightModel::setRight(int row, Right right, bool on)
{
    if (row < 0 || row >= m_rows.size() || m_rows.at(row).fixed)
        return;
    RightsRecord &r = m_rows[row].rights;
    r.set(right, on);
    if (on && right != Right::Browse && right != Right::Add)
        r.browse = true;
}

void UserRightModel::setAll(int row, bool on)
{
    if (row >= 0 && row < m_rows.size() && !m_rows.at(row).fixed)
        m_rows[row].rights = RightsRecord::all(on);
}

void UserRightModel::setEverything(bool on)
{
    for (int i = 0; i < m_rows.size(); ++i)
        setAll(i, on);
}

bool UserRightModel::hasChanges() const
{
    return std::any_of(m_rows.begin(), m_rows.end(), [](const UserRightEntry &e) { return e.changed(); });
}

int UserRightModel::save()
{
    Permissions::require(Permissions(m_db, m_actor).mayEditUserRights());
    if (!hasChanges())
        return 0;
    const int written = RightsStore::saveChanged(m_db, std::as_const(m_rows), [&](RightsStore &store, const UserRightEntry &e) {
        const bool keepRow = e.shared || e.rights.any();
        store.replaceResourceRow(e.resourceId, m_userId, keepRow ? std::optional(e.rights) : std::nullopt);
    });
    for (UserRightEntry &e : m_rows)
        e.loaded = e.rights;
    return written;
}

} // namespace vek
