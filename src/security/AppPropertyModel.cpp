#include "AppPropertyModel.h"

#include "Permissions.h"
#include "RightsStore.h"

#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QDateTime>
#include <algorithm>

namespace vek {

namespace {

QString dateText(const QVariant &v)
{
    if (v.isNull())
        return QStringLiteral("未知");
    QDateTime dt = v.toDateTime();
    if (!dt.isValid())
        dt = QDateTime::fromString(v.toString().trimmed(), Qt::ISODate);
    if (!dt.isValid())
        dt = QDateTime::fromString(v.toString().trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(v.toString().trimmed(), Qt::ISODate);
        return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QStringLiteral("未知");
    }
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

QString AppPropertyGeneral::tableLabel() const
{
    return hasTable() ? QStringLiteral("表名称:") : QStringLiteral("文件名称:");
}

QString AppPropertyUser::roleLabel() const
{
    if (owner)
        return level == 0 ? QStringLiteral("S/O") : level == 2 ? QStringLiteral("G/O") : QStringLiteral("Owner");
    return level == 0 ? QStringLiteral("System") : level == 2 ? QStringLiteral("Guest") : QStringLiteral("User");
}

AppPropertyModel::AppPropertyModel(TDModule &db, const CurrentUser &actor) : m_db(db), m_actor(actor) {}

void AppPropertyModel::load(int resourceId)
{
    const Permissions perms(m_db, m_actor);
    Permissions::require(perms.mayOpenProperties(resourceId));

    const QSqlRecord rec = [&] {
        Query q(m_db, QStringLiteral("SELECT * FROM usys_system WHERE id = :HostId"), {{":HostId", resourceId}});
        if (!q.next())
            throw DbError(QStringLiteral("资源不存在: %1").arg(resourceId));
        return q.record();
    }();
    auto text = [&rec](const char *name) { return rec.value(QLatin1String(name)).toString().trimmed(); };
    m_props = AppPropertyGeneral();
    m_props.id = resourceId;
    m_props.title = text("AppTitle");
    m_props.databaseAlias = text("DatabasAlias");
    m_props.firstTable = text("FirstTable");
    m_props.exeFileName = text("ExeFileName");
    m_props.createDate = dateText(rec.value(QLatin1String("CreateDate")));
    m_props.createPerson = text("CreatePerson");
    m_props.owner = text("Owner");
    m_props.description = text("Description");
    m_props.flag = text("Flag");
    m_props.shareFlag = rec.value(QLatin1String("ShareFlag")).toBool();

    m_accessPage = perms.mayEditAccess(resourceId);
    m_fieldRights = perms.mayEditFieldRights(resourceId);
    m_users.clear();
    if (!m_accessPage)
        return;

    {
        Query users(m_db, QStringLiteral("SELECT uid, ulevel FROM usys_Users ORDER BY id"));
        while (users.next()) {
            AppPropertyUser u;
            u.userId = users.value(0).toString().trimmed();
            if (u.userId.isEmpty() || indexOfUser(u.userId) >= 0)
                continue;
            u.level = CurrentUser::levelFromStored(users.value(1));
            u.owner = u.userId.compare(m_props.owner, Qt::CaseInsensitive) == 0;
            u.fixed = u.level == 0 || u.owner;
            m_users << u;
        }
    }
    // Rows are read after the user query is done: the server driver keeps one result at a time.
    const RightsStore store(m_db);
    for (AppPropertyUser &u : m_users) {
        if (u.fixed) {
            u.rights = RightsRecord::all();
        } else if (const auto stored = store.resourceRow(resourceId, u.userId)) {
            u.rights = *stored;
        } else {
            u.rights.browse = m_props.shareFlag; // what a shared resource gives without a row
        }
        u.loaded = u.rights;
    }
    std::stable_sort(m_users.begin(), m_users.end(),
                     [](const AppPropertyUser &a, const AppPropertyUser &b) { return a.level < b.level; });
}

int AppPropertyModel::indexOfUser(const QString &userId) const
{
    for (int i = 0; i < m_users.size(); ++i) {
        if (m_users.at(i).userId.compare(userId.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void AppPropertyModel::setRight(int row, Right right, bool on)
{
    if (row < 0 || row >= m_users.size() || m_users.at(row).fixed)
        return;
    RightsRecord &r = m_users[row].rights;
    r.set(right, on);
    if (on && (right == Right::Delete || right == Right::Print || right == Right::Export))
        r.browse = true;
}

bool AppPropertyModel::hasChanges() const
{
    return std::any_of(m_users.begin(), m_users.end(), [](const AppPropertyUser &u) { return u.changed(); });
}

int AppPropertyModel::save()
{
    Permissions::require(Permissions(m_db, m_actor).mayEditAccess(m_props.id));
    if (!hasChanges())
        return 0;
    const int written = RightsStore::saveChanged(m_db, std::as_const(m_users), [&](RightsStore &store, const AppPropertyUser &u) {
        // A cleared row on an unshared resource says the same as no row at all.
        const bool keepRow = m_props.shareFlag || u.rights.any();
        store.replaceResourceRow(m_props.id, u.userId, keepRow ? std::optional(u.rights) : std::nullopt);
    });
    for (AppPropertyUser &u : m_users)
        u.loaded = u.rights;
    return written;
}

} // namespace vek
