#include "OnlineState.h"

#include "platform/AppContext.h"
#include "platform/Clock.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QSysInfo>

namespace vek {

namespace {

QString stamp(const Clock &clock)
{
    return clock.now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Bound as the empty text, never NULL: "计算机名称 = NULL" matches no row, so a machine
// without a name would get a new row at every login.
QString text(const QString &s)
{
    return s.isNull() ? QString(QLatin1String("")) : s;
}

} // namespace

void OnlineState::markOnline(const QString &userNameIn, const QString &computerIn)
{
    const QString userName = text(userNameIn);
    const QString computer = text(computerIn);
    const QString where = " WHERE " + m_db.dialect().ciEquals("用户", ":UserName") + " AND 计算机名称 = :computer";
    Transaction tx(m_db);
    Query q(m_db, "SELECT 登录次数 FROM usys_online" + where, {{":UserName", userName}, {":computer", computer}});
    const bool found = q.next();
    const int count = found ? q.value(0).toInt() : 0;
    q.raw().finish();
    if (!found) {
        Query::run(m_db,
                   "INSERT INTO usys_online (用户, 在线情况, 登录时间, 登录次数, 计算机名称) "
                   "VALUES (:UserName, :online, :loginDate, :count, :computer)",
                   {{":UserName", userName},
                    {":online", true},
                    {":loginDate", stamp(m_clock)},
                    {":count", 0},
                    {":computer", computer}});
    }
    Query::run(m_db, "UPDATE usys_online SET 在线情况 = :online, 登录次数 = :loginCount, 登录时间 = :CDate" + where,
               {{":online", true},
                {":loginCount", count + 1},
                {":CDate", stamp(m_clock)},
                {":UserName", userName},
                {":computer", computer}});
    tx.commit();
}

void OnlineState::markOffline(const QString &userName, const QString &computer)
{
    Query::run(m_db,
               "UPDATE usys_online SET 在线情况 = :state, 最后一次在线时间 = :LastDate WHERE "
                   + m_db.dialect().ciEquals("用户", ":UserName") + " AND 计算机名称 = :computer",
               {{":state", false},
                {":LastDate", stamp(m_clock)},
                {":UserName", text(userName)},
                {":computer", text(computer)}});
}

QString OnlineState::localComputerName()
{
    return QSysInfo::machineHostName().left(15);
}

void MarkOnline(AppContext &ctx)
{
    OnlineState(ctx.db, ctx.clock).markOnline(ctx.user.name, ctx.computerName);
}

void MarkOffline(AppContext &ctx)
{
    OnlineState(ctx.db, ctx.clock).markOffline(ctx.user.name, ctx.computerName);
}

} // namespace vek
