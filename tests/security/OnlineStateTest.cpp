#include "security/LoginSession.h"
#include "security/OnlineState.h"
#include "security/OperationLog.h"
#include "security/SecurityFixture.h"

#include "platform/DbError.h"

using namespace vek;

namespace {

struct OnlineRow {
    QString user, computer, loginTime, lastOnline;
    int count = 0;
    bool online = false;
};

QList<OnlineRow> onlineRows(TDModule &db)
{
    QList<OnlineRow> out;
    Query q(db, "SELECT 用户, 计算机名称, 登录时间, 最后一次在线时间, 登录次数, 在线情况 FROM usys_online "
                "ORDER BY 用户, 计算机名称");
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                    q.value(4).toInt(), q.value(5).toBool()});
    return out;
}

class OnlineStateTest : public test::SecurityTest {
protected:
    OnlineState online() { return OnlineState(db(), env->clock); }
};

} // namespace

TEST_P(OnlineStateTest, EachLoginOnAComputerIsCounted)
{
    online().markOnline("bob", "PC-1");
    auto rows = onlineRows(db());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].count, 1);
    EXPECT_TRUE(rows[0].online);
    EXPECT_EQ(rows[0].loginTime, "2024-03-08 09:30:15");

    env->clock.advanceSeconds(3600);
    online().markOnline("bob", "PC-1");
    online().markOnline("bob", "PC-2");
    online().markOnline("carol", "PC-1");
    rows = onlineRows(db());
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].user + "@" + rows[0].computer, "bob@PC-1");
    EXPECT_EQ(rows[0].count, 2);
    EXPECT_EQ(rows[0].loginTime, "2024-03-08 10:30:15");
    EXPECT_EQ(rows[1].computer, "PC-2");
    EXPECT_EQ(rows[1].count, 1);
    EXPECT_EQ(rows[2].user, "carol");
    EXPECT_EQ(rows[2].count, 1);
}

TEST_P(OnlineStateTest, MarkOfflineTouchesOnlyThatUserOnThatComputer)
{
    online().markOnline("bob", "PC-1");
    online().markOnline("bob", "PC-2");
    env->clock.advanceSeconds(90);
    online().markOffline("bob", "PC-1");
    const auto rows = onlineRows(db());
    ASSERT_EQ(rows.size(), 2);
    EXPECT_FALSE(rows[0].online);
    EXPECT_EQ(rows[0].lastOnline, "2024-03-08 09:31:45");
    EXPECT_EQ(rows[0].count, 1);
    EXPECT_TRUE(rows[1].online);
    EXPECT_EQ(rows[1].lastOnline, "");
}

TEST_P(OnlineStateTest, AMachineWithoutANameKeepsOneRow)
{
    online().markOnline("bob", QString());
    online().markOnline("bob", QString());
    const auto rows = onlineRows(db());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].count, 2);
}

TEST_P(OnlineStateTest, LoginAndReloginSteps)
{
    ctx().user.name = "admin";
    LoginSession::loginCompleted(ctx());
    LoginSession::loginCompleted(ctx());
    LoginSession::beginRelogin(ctx(), true);

    const auto rows = onlineRows(db());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].computer, "OFFICE-PC");
    EXPECT_EQ(rows[0].count, 2);
    EXPECT_FALSE(rows[0].online);
    QStringList kinds;
    for (const auto &r : test::logRows(db()))
        kinds << r.kind + "/" + r.user;
    EXPECT_EQ(kinds, (QStringList{QStringLiteral("进入/admin"), QStringLiteral("进入/admin"),
                                  QStringLiteral("重新登录/admin")}));

    // At program end a broken online table is no reason to fail.
    Query::run(db(), "DROP TABLE usys_online");
    LoginSession::programEnding(ctx());
    EXPECT_THROW(MarkOffline(ctx()), DbError);
}

VEK_BOTH_ENGINES(OnlineStateTest);
