#pragma once

#include "RightsRecord.h"

#include "platform/AppContext.h"

#include <QList>
#include <QString>

namespace vek {

class TDModule;

// What the general page of the properties dialog shows about a resource.
struct AppPropertyGeneral {
    int id = 0;
    QString title;
    QString databaseAlias;
    QString firstTable;
    QString exeFileName;
    QString createDate; // "未知" when it cannot be read
    QString createPerson;
    QString owner;
    QString description;
    QString flag;
    bool shareFlag = false;

    bool hasTable() const { return !firstTable.isEmpty(); }
    // A resource without a table shows its file instead.
    QString tableLabel() const;
    QString tableText() const { return hasTable() ? firstTable : exeFileName; }
};

// One user row of the access page.
struct AppPropertyUser {
    QString userId;
    int level = 1;
    bool owner = false;
    bool fixed = false; // system users and the owner hold every right; the row is not edited
    RightsRecord rights;
    RightsRecord loaded; // as shown when the dialog was filled

    QString roleLabel() const; // "System", "User", "Guest"; "Owner", "S/O", "G/O" for the owner
    bool changed() const { return !fixed && rights != loaded; }
};

// The resource properties dialog without its widgets: the general page, and the access
// page that grants each user rights on the resource. A user without a stored row is
// shown what he has (browse when the resource is shared, nothing else), so confirming
// grants nothing the administrator did not tick; save() writes only changed rows.
class AppPropertyModel {
public:
    AppPropertyModel(TDModule &db, const CurrentUser &actor);

    // Throws PermissionDenied when the actor does not see the resource, DbError on failure.
    void load(int resourceId);

    const AppPropertyGeneral &properties() const { return m_props; }
    bool accessPageAvailable() const { return m_accessPage; }
    bool fieldRightsAvailable() const { return m_fieldRights; }

    const QList<AppPropertyUser> &users() const { return m_users; }
    int indexOfUser(const QString &userId) const;
    // Ticking delete, print or export also ticks browse; fixed rows do not change.
    void setRight(int row, Right right, bool on);
    bool hasChanges() const;

    // Writes the changed rows in one transaction and returns how many. Throws
    // PermissionDenied unless the actor may grant rights on the resource (checked again
    // now), DbError when a statement fails (nothing is then written).
    int save();

private:
    TDModule &m_db;
    CurrentUser m_actor;
    AppPropertyGeneral m_props;
    bool m_accessPage = false;
    bool m_fieldRights = false;
    QList<AppPropertyUser> m_users;
};

} // namespace vek
