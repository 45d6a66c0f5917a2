#include "Permissions.h"

#include "RightsStore.h"

#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QSqlRecord>

namespace vek {

namespace {

QVariant column(const QSqlRecord &row, const char *name)
{
    const int i = row.indexOf(QLatin1String(name)); // case-insensitive
    return i < 0 ? QVariant() : row.value(i);
}

bool isUserIdField(const QString &fieldName)
{
    return fieldName.trimmed().compare(QLatin1String("UserID"), Qt::CaseInsensitive) == 0;
}

} // namespace

ResourceSharing ResourceSharing::fromRecord(const QSqlRecord &row)
{
    ResourceSharing r;
    r.id = column(row, "id").toInt();
    r.owner = column(row, "Owner").toString().trimmed();
    r.shareFlag = column(row, "ShareFlag").toBool();
    r.flag = column(row, "Flag").toString().trimmed();
    r.firstTable = column(row, "FirstTable").toString().trimmed();
    return r;
}

Permissions::Permissions(TDModule &db, const CurrentUser &user) : m_db(db), m_user(user)
{
    m_user.name = m_user.name.trimmed();
}

Permissions::Permissions(const AppContext &ctx) : Permissions(ctx.db, ctx.user) {}

std::optional<ResourceSharing> Permissions::resource(int resourceId) const
{
    Query q(m_db, QStringLiteral("SELECT id, Owner, ShareFlag, Flag, FirstTable FROM usys_system WHERE id = :HostId"),
            {{":HostId", resourceId}});
    if (!q.next())
        return std::nullopt;
    return ResourceSharing::fromRecord(q.record());
}

bool Permissions::isOwner(const ResourceSharing &row) const
{
    return !m_user.name.isEmpty() && row.owner.trimmed().compare(m_user.name, Qt::CaseInsensitive) == 0;
}

bool Permissions::isResourceVisible(const ResourceSharing &row) const
{
    if (row.isDirectory() || !m_user.rightsInForce() || isOwner(row))
        return true;
    if (const auto stored = RightsStore(m_db).resourceRow(row.id, m_user.name))
        return stored->browse || stored->update;
    return row.shareFlag;
}

bool Permissions::isResourceVisible(int resourceId) const
{
    const auto row = resource(resourceId);
    return row && isResourceVisible(*row);
}

bool Permissions::isResourceOwner(int resourceId) const
{
    const auto row = resource(resourceId);
    return row && isOwner(*row);
}

UpdateRight Permissions::updateRight(int resourceId) const
{
    const auto row = resource(resourceId);
    if (!row)
        return {};
    const bool owner = isOwner(*row);
    if (!m_user.rightsInForce() || owner)
        return {true, owner};
    const auto stored = RightsStore(m_db).resourceRow(resourceId, m_user.name);
    return {stored && stored->update, false};
}

RightsRecord Permissions::resourceRights(int resourceId) const
{
    const auto row = resource(resourceId);
    if (!row)
        return {};
    if (!m_user.rightsInForce() || isOwner(*row))
        return RightsRecord::all();
    return RightsStore(m_db).resourceRow(resourceId, m_user.name).value_or(RightsRecord());
}

FieldRights Permissions::fieldRights(int resourceId, const QString &fieldName) const
{
    if (!m_user.rightsInForce())
        return {};
    const auto row = resource(resourceId);
    if (!row)
        return {false, true};
    // The record's UserID stamp is never changed by a user with rights in force.
    const bool userIdField = isUserIdField(fieldName);
    if (isOwner(*row))
        return {true, userIdField};
    const RightsStore store(m_db);
    const auto stored = store.resourceRow(resourceId, m_user.name);
    const bool mayUpdate = stored && stored->update;
    const auto field = store.fieldRow(resourceId, m_user.name, fieldName);
    FieldRights f;
    f.readable = !field || field->read;
    f.readOnly = !mayUpdate || userIdField || (field && !field->write);
    return f;
}

bool Permissions::mayOpenProperties(int resourceId) const
{
    const auto row = resource(resourceId);
    return row && !row->isDirectory() && isResourceVisible(*row);
}

bool Permissions::mayEditAccess(int resourceId) const
{
    const auto row = resource(resourceId);
    return row && row->hasTable() && (!m_user.rightsInForce() || isOwner(*row));
}

bool Permissions::mayEditFieldRights(int resourceId) const
{
    const auto row = resource(resourceId);
    return row && row->flag != QLatin1String("1") && mayEditAccess(resourceId);
}

bool Permissions::mayEditUserRights() const
{
    return m_user.loggedIn() && !m_user.rightsInForce();
}

void Permissions::require(bool allowed)
{
    if (!allowed)
        throw PermissionDenied(noRightsText());
}

QString Permissions::noRightsText()
{
    return QStringLiteral("您没有权利使用本模块或打开发生错误,请与管理员联系！");
}

bool IsResourceVisible(const AppContext &ctx, const ResourceSharing &row)
{
    return Permissions(ctx).isResourceVisible(row);
}

bool IsResourceVisible(const AppContext &ctx, const QSqlRecord &usysSystemRow)
{
    return Permissions(ctx).isResourceVisible(ResourceSharing::fromRecord(usysSystemRow));
}

bool IsResourceVisible(const AppContext &ctx, int resourceId)
{
    return Permissions(ctx).isResourceVisible(resourceId);
}

bool IsResourceOwner(const AppContext &ctx, int resourceId)
{
    return Permissions(ctx).isResourceOwner(resourceId);
}

UpdateRight GetUpdateRight(const AppContext &ctx, int resourceId)
{
    return Permissions(ctx).updateRight(resourceId);
}

RightsRecord GetResourceRights(const AppContext &ctx, int resourceId)
{
    return Permissions(ctx).resourceRights(resourceId);
}

bool IsFieldReadable(const AppContext &ctx, int resourceId, const QString &fieldName)
{
    return Permissions(ctx).fieldRights(resourceId, fieldName).readable;
}

bool IsFieldReadOnly(const AppContext &ctx, int resourceId, const QString &fieldName)
{
    return Permissions(ctx).fieldRights(resourceId, fieldName).readOnly;
}

} // namespace vek
