#include "security/OperationLog.h"
#include "security/SecurityFixture.h"

#include "platform/DbError.h"

using namespace vek;
using vek::test::logRows;

namespace {

class OperationLogTest : public test::SecurityTest {};

} // namespace

TEST_P(OperationLogTest, EveryKindIsWrittenWithTheMomentOfWriting)
{
    struct Case {
        QString kind, title;
        const char *expectedKind;
        const char *expectedTitle;
    };
    const QList<Case> cases = {
        {LogKind::ReLogin, {}, "重新登录", ""},
        {LogKind::Enter, {}, "进入", ""},
        {LogKind::Enter, QStringLiteral("学生档案"), "进入", "学生档案"},
        {LogKind::Enter, LogTitle::Dictionary, "进入", "数据字典"},
        {LogKind::Create, QStringLiteral("新表"), "新建", "新表"},
        {LogKind::Exit, QStringLiteral("学生档案"), "退出", "学生档案"},
        {LogKind::Delete, QStringLiteral("节点"), "删除", "节点"},
        {LogKind::Define, LogTitle::dictionaryDefined(QStringLiteral("学生档案")), "定义", "学生档案[数据字典]"},
        {LogKind::CancelLogin, {}, "取消登录", ""},
        {LogKind::ChangePassword, LogTitle::Failed, "更改密码", "失败"},
        {LogKind::ChangePassword, LogTitle::Succeeded, "更改密码", "成功"},
    };
    // A name as wide as uid fits the log.
    ctx().user.name = QStringLiteral("sixteen_chars_ab");
    for (const Case &c : cases) {
        WriteLogEntry(ctx(), c.kind, c.title);
        env->clock.advanceSeconds(61);
    }

    const auto rows = logRows(db());
    ASSERT_EQ(rows.size(), cases.size());
    QDateTime at(QDate(2024, 3, 8), QTime(9, 30, 15));
    for (int i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].kind, QString::fromUtf8(cases[i].expectedKind));
        EXPECT_EQ(rows[i].app, QString::fromUtf8(cases[i].expectedTitle));
        EXPECT_EQ(rows[i].user, "sixteen_chars_ab");
        EXPECT_EQ(rows[i].date, at.date());
        EXPECT_EQ(rows[i].time, at.time().toString("HH:mm:ss"));
        at = at.addSecs(61);
    }
}

TEST_P(OperationLogTest, OnlyTheCancelledLoginMakesAMissingLog)
{
    Query::run(db(), "DROP TABLE usys_log");
    OperationLog log(db(), env->clock);
    EXPECT_THROW(log.write(LogKind::Enter, {}, "admin"), DbError);
    EXPECT_FALSE(db().tableExists("usys_log"));

    log.writeCreatingTable(LogKind::CancelLogin, {}, "admin");
    ASSERT_TRUE(db().tableExists("usys_log"));
    const auto rows = logRows(db());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].kind, QStringLiteral("取消登录"));
    EXPECT_EQ(rows[0].user, "admin");
}

TEST_P(OperationLogTest, AnUnwritableLogThatExistsIsNotMadeAgain)
{
    Query::run(db(), "DROP TABLE usys_log");
    Query::run(db(), "CREATE TABLE usys_log (other integer)");
    OperationLog log(db(), env->clock);
    EXPECT_THROW(log.writeCreatingTable(LogKind::CancelLogin, {}, "admin"), DbError);
    ASSERT_EQ(db().columns("usys_log").size(), 1);
    EXPECT_EQ(db().columns("usys_log").first().name.toLower(), "other");
}

VEK_BOTH_ENGINES(OperationLogTest);
