#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vek {

class TDModule;

// One account of usys_Users, as a successful check found it.
struct UserRecord {
    QString name;   // uid, trimmed
    int level = 1;  // CurrentUser::levelFromStored
    QString group;  // ugroup, trimmed
};

// The accounts of usys_Users. Nothing here touches the current user: the login dialog
// sets it, and only after a successful login or unlock.
class UserAccounts {
public:
    explicit UserAccounts(TDModule &db) : m_db(db) {}

    // The account when password opens it. Rows are looked up without regard to case,
    // then the stored name, trimmed, must equal name exactly. Reads only. Throws DbError.
    std::optional<UserRecord> checkPassword(const QString &name, const QString &password) const;

    // checkPassword, then replaces an old shifted value (or a hash of other cost) by a
    // new hash. A failure of that replacement does not refuse the login: the old value
    // still works and is replaced at a later login. Throws DbError.
    std::optional<UserRecord> login(const QString &name, const QString &password);

    // Whether an account of that name exists (letter case ignored). Throws DbError.
    bool userExists(const QString &name) const;
    // Every uid, trimmed, in the order the accounts were made. Throws DbError.
    QStringList userList() const;

    // Stores password for the account(s) named exactly name: a hash, or the empty text
    // for an empty password. Returns the number of accounts changed. Throws DbError.
    int setPassword(const QString &name, const QString &password);

private:
    struct Found {
        int id = 0;
        UserRecord user;
        bool needsNewHash = false;
    };
    std::optional<Found> find(const QString &name, const QString &password) const;

    TDModule &m_db;
};

} // namespace vek
