#include "UserAccounts.h"

#include "PasswordHash.h"

#include "platform/AppContext.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

namespace vek {

std::optional<UserAccounts::Found> UserAccounts::find(const QString &name, const QString &password) const
{
    if (name.isEmpty())
        return std::nullopt;
    // The lookup ignores case (and blanks a fixed-width column may keep); the exact
    // comparison below decides. Of several rows of that exact name the first the
    // password opens wins.
    Query q(m_db,
            "SELECT id, uid, ulevel, ugroup, pwd FROM usys_Users WHERE "
                + m_db.dialect().ciEquals("trim(uid)", ":UserId") + " ORDER BY id",
            {{":UserId", name.trimmed()}});
    while (q.next()) {
        if (q.value(1).toString().trimmed() != name)
            continue;
        const PasswordHash::Match m = PasswordHash::verify(q.value(4), password);
        if (m == PasswordHash::Match::No)
            continue;
        Found f;
        f.id = q.value(0).toInt();
        f.user.name = q.value(1).toString().trimmed();
        f.user.level = CurrentUser::levelFromStored(q.value(2));
        f.user.group = q.value(3).toString().trimmed();
        f.needsNewHash = m == PasswordHash::Match::YesLegacy || m == PasswordHash::Match::YesRehash;
        return f;
    }
    return std::nullopt;
}

std::optional<UserRecord> UserAccounts::checkPassword(const QString &name, const QString &password) const
{
    const auto f = find(name, password);
    if (!f)
        return std::nullopt;
    return f->user;
}

std::optional<UserRecord> UserAccounts::login(const QString &name, const QString &password)
{
    const auto f = find(name, password);
    if (!f)
        return std::nullopt;
    if (f->needsNewHash) {
        try {
            Query::run(m_db, "UPDATE usys_Users SET pwd = :HostPwd WHERE id = :HostId",
                       {{":HostPwd", PasswordHash::hash(password)}, {":HostId", f->id}});
        } catch (const std::runtime_error &) {
            // DbError or a failed hash: the value that was typed still opens the
            // account, and it is replaced at the next login.
        }
    }
    return f->user;
}

bool UserAccounts::userExists(const QString &name) const
{
    if (name.trimmed().isEmpty())
        return false;
    const QVariant n = Query::scalar(
        m_db, "SELECT count(*) FROM usys_Users WHERE " + m_db.dialect().ciEquals("trim(uid)", ":userID"),
        {{":userID", name.trimmed()}});
    return n.toLongLong() > 0;
}

QStringList UserAccounts::userList() const
{
    QStringList out;
    Query q(m_db, "SELECT uid FROM usys_Users ORDER BY id");
    while (q.next())
        out << q.value(0).toString().trimmed();
    return out;
}

int UserAccounts::setPassword(const QString &name, const QString &password)
{
    Query q(m_db, "UPDATE usys_Users SET pwd = :hostPwd WHERE trim(uid) = :hostUId",
            {{":hostPwd", PasswordHash::storedFor(password)}, {":hostUId", name}});
    return q.numRowsAffected();
}

} // namespace vek
