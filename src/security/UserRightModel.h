#pragma once

#include "RightsRecord.h"

#include "platform/AppContext.h"

#include <QList>
#include <QString>

namespace vek {

class TDModule;

// One resource row of the per-user rights dialog.
struct UserRightEntry {
    int resourceId = 0;
    QString title;
    bool shared = false;
    bool fixed = false; // the user owns the resource or is a system user: every right, not edited
    RightsRecord rights;
    RightsRecord loaded;

    bool changed() const { return !fixed && rights != loaded; }
};

// The per-user rights dialog without its widgets: one user's rights on every resource.
// Only system users may open or save it. A resource without a stored row shows what
// the user has (browse when it is shared), and save() writes only the changed rows.
class UserRightModel {
public:
    UserRightModel(TDModule &db, const CurrentUser &actor);

    // Throws PermissionDenied unless the actor is a system user, DbError on failure.
    void load(const QString &userId);

    QString userId() const { return m_userId; }
    const QList<UserRightEntry> &resources() const { return m_rows; }
    int indexOfResource(int resourceId) const;

    // Ticking update, delete, print or export also ticks browse.
    void setRight(int row, Right right, bool on);
    // The row's select-all box: all six to its state.
    void setAll(int row, bool on);
    // "全选" / "全清": every box of every row.
    void setEverything(bool on);
    bool hasChanges() const;

    // Writes the changed rows in one transaction; returns how many. A resource that is
    // not shared keeps no row when all its boxes are clear. Throws as load().
    int save();

private:
    TDModule &m_db;
    CurrentUser m_actor;
    QString m_userId;
    QList<UserRightEntry> m_rows;
};

} // namespace vek
