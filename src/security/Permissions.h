#pragma once

#include "RightsRecord.h"

#include "platform/AppContext.h"

#include <QString>
#include <optional>
#include <stdexcept>

QT_BEGIN_NAMESPACE
class QSqlRecord;
QT_END_NAMESPACE

namespace vek {

class TDModule;

// The columns of a usys_system row that decide who sees and may change it.
struct ResourceSharing {
    int id = 0;
    QString owner;
    bool shareFlag = false;
    QString flag;        // kind: "0" data form, "1" grid application, "2" external, "3" module
    QString firstTable;

    // Directories (no table and no kind) are shown to everyone.
    bool isDirectory() const { return flag.trimmed().isEmpty() && firstTable.trimmed().isEmpty(); }
    bool hasTable() const { return !firstTable.trimmed().isEmpty(); }

    // From a usys_system row as read by the caller; absent columns keep their defaults.
    static ResourceSharing fromRecord(const QSqlRecord &row);
};

struct UpdateRight {
    bool update = false; // may change the resource's records
    bool owner = false;  // the user owns the resource
};

struct FieldRights {
    bool readable = true;  // the field's content may be shown
    bool readOnly = false; // the field may not be changed (also when the resource itself is read-only)
};

// A command was refused by the rights rules. what() is the text shown to the user.
class PermissionDenied : public std::runtime_error {
public:
    explicit PermissionDenied(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    QString text() const { return m_text; }

private:
    QString m_text;
};

// The one place where the rights rules are decided, for every entry point (tree, menus,
// opening by title, grids, data forms, the rights editors). Rights are read from the
// database on each call and never cached, so saved changes apply to the next question.
//
// Order of the rules, first match wins:
//   system user (level 0)     sees everything, may do everything;
//   owner (id, any case)      sees it, may do everything on it;
//   a usys_displist row       sees it with browse or update; rights from the row;
//   no row, shared            sees it, read-only, no tools;
//   no row, not shared        does not see it.
// Field rights (usys_dispfield) bind only users that are neither system users nor owners.
class Permissions {
public:
    Permissions(TDModule &db, const CurrentUser &user);
    explicit Permissions(const AppContext &ctx);

    const CurrentUser &user() const { return m_user; }

    // The resource's row, or nothing when the id is unknown.
    std::optional<ResourceSharing> resource(int resourceId) const;

    bool isResourceVisible(const ResourceSharing &row) const;
    bool isResourceVisible(int resourceId) const;
    bool isOwner(const ResourceSharing &row) const;
    bool isResourceOwner(int resourceId) const;
    UpdateRight updateRight(int resourceId) const;
    RightsRecord resourceRights(int resourceId) const;
    FieldRights fieldRights(int resourceId, const QString &fieldName) const;

    // The rights windows.
    bool mayOpenProperties(int resourceId) const;  // any user, for a resource the user sees
    bool mayEditAccess(int resourceId) const;      // table resources: system users and the owner
    bool mayEditFieldRights(int resourceId) const; // as mayEditAccess, not for grid applications
    bool mayEditUserRights() const;                // system users only

    // Throws PermissionDenied with the no-rights text unless allowed.
    static void require(bool allowed);
    static QString noRightsText();

private:
    TDModule &m_db;
    CurrentUser m_user;
};

// Entry points under the names the tree, the main window, grids and forms call.
bool IsResourceVisible(const AppContext &ctx, const ResourceSharing &row);
bool IsResourceVisible(const AppContext &ctx, const QSqlRecord &usysSystemRow);
bool IsResourceVisible(const AppContext &ctx, int resourceId);
bool IsResourceOwner(const AppContext &ctx, int resourceId);
UpdateRight GetUpdateRight(const AppContext &ctx, int resourceId);
RightsRecord GetResourceRights(const AppContext &ctx, int resourceId);
bool IsFieldReadable(const AppContext &ctx, int resourceId, const QString &fieldName);
bool IsFieldReadOnly(const AppContext &ctx, int resourceId, const QString &fieldName);

} // namespace vek
