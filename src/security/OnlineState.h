#pragma once

#include <QString>

namespace vek {

class Clock;
class TDModule;
struct AppContext;

// The online-user table, usys_online: one row per user and computer, with the number
// of logins and the times of the last login and of the last time seen online.
class OnlineState {
public:
    OnlineState(TDModule &db, const Clock &clock) : m_db(db), m_clock(clock) {}

    // Marks the user online on that computer and counts the login (a first login
    // leaves 登录次数 1). Throws DbError.
    void markOnline(const QString &userName, const QString &computer);
    // Marks the user offline on that computer and notes the time. Throws DbError.
    void markOffline(const QString &userName, const QString &computer);

    // This machine's name, cut to 15 characters as the stored names are.
    static QString localComputerName();

private:
    TDModule &m_db;
    const Clock &m_clock;
};

// For the current user of ctx on ctx.computerName. Throw DbError.
void MarkOnline(AppContext &ctx);
void MarkOffline(AppContext &ctx);

} // namespace vek
