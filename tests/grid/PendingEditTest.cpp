#include "dictionary/DictionaryFixture.h"

#include "grid/PendingEdit.h"
#include "grid/RecordRules.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/Query.h"
#include "platform/RecordSet.h"

#include <memory>

using namespace vek;
using Answer = Prompter::Answer;
using State = RecordSet::State;

namespace {

const QString kTitle = QStringLiteral("成绩登记");

} // namespace

// A table with a required name and a score the engine itself limits, so that a save can
// be refused by a rule or fail in the database.
class PendingEditTest : public vek::test::DictionaryTest {
protected:
    void SetUp() override
    {
        DictionaryTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        Query::run(db(), "CREATE TABLE t_score (id " + d.identityPrimaryKey()
                             + ", xm varchar(20), cj integer CHECK (cj >= 0), bz varchar(10))");
        Query::run(db(), "INSERT INTO t_score (xm, cj) VALUES ('甲', 60)");
        row(kTitle, "xm", {{"IsNull", true}, {"Cfield", "姓名"}});
        row(kTitle, "bz", {{"DefaultValue", "MONTH"}});
        CurrentUser admin;
        admin.name = "admin";
        admin.level = 0;
        RuleResource r;
        r.title = kTitle;
        r.table = "t_score";
        m_rules = std::make_unique<RecordRules>(db(), prompter, clock, admin, r);
        m_rs = std::make_unique<RecordSet>(db());
        m_rs->open("t_score");
        m_rules->setUp(*m_rs);
        m_rules->attach(*m_rs);
    }
    void TearDown() override
    {
        m_rs.reset();
        m_rules.reset();
        DictionaryTest::TearDown();
    }
    QString storedName() { return Query::scalar(db(), "SELECT xm FROM t_score ORDER BY id").toString(); }
    int rows() { return Query::scalar(db(), "SELECT count(*) FROM t_score").toInt(); }
    RecordSet &rs() { return *m_rs; }
    SettleResult settle() { return SettlePendingEdit(rs(), prompter); }

    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(9, 0))};
    std::unique_ptr<RecordRules> m_rules;
    std::unique_ptr<RecordSet> m_rs;
};

TEST_P(PendingEditTest, NothingPendingAsksNothing)
{
    EXPECT_EQ(settle(), SettleResult::Nothing);
    rs().edit();
    EXPECT_EQ(settle(), SettleResult::Nothing);
    EXPECT_EQ(rs().state(), State::Browse) << "an untouched edit is cancelled";
    rs().insert();
    EXPECT_EQ(rs().value("bz").toString(), "3");
    EXPECT_EQ(settle(), SettleResult::Nothing) << "defaults alone are not the user's changes";
    EXPECT_EQ(rs().state(), State::Browse);
    EXPECT_EQ(rows(), 1);
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_P(PendingEditTest, TheUserSavesDiscardsOrStays)
{
    const QString question = "当前记录尚未保存，是否保存修改？\n是：保存修改    否：放弃修改    取消：返回继续编辑";
    rs().edit();
    rs().setValue("xm", "乙");

    prompter.answerNext(Answer::Cancel);
    EXPECT_EQ(settle(), SettleResult::Stay);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].caption, "系统提示");
    EXPECT_EQ(prompter.shown()[0].text, question);
    EXPECT_EQ(rs().state(), State::Edit);
    EXPECT_EQ(rs().value("xm").toString(), "乙");

    prompter.answerNext(Answer::No);
    EXPECT_EQ(settle(), SettleResult::Discarded);
    EXPECT_EQ(rs().state(), State::Browse);
    EXPECT_EQ(storedName(), "甲");

    rs().edit();
    rs().setValue("xm", "丙");
    prompter.answerNext(Answer::Yes);
    EXPECT_EQ(settle(), SettleResult::Posted);
    EXPECT_EQ(rs().state(), State::Browse);
    EXPECT_EQ(storedName(), "丙");
    EXPECT_TRUE(prompter.allAnswersUsed());
}

TEST_P(PendingEditTest, ARefusedOrFailedSaveKeepsTheUserOnTheRecord)
{
    // Refused by a rule: its own message only, and the input stays.
    rs().insert();
    rs().setValue("cj", 70);
    prompter.answerNext(Answer::Yes);
    EXPECT_EQ(settle(), SettleResult::Stay);
    ASSERT_EQ(prompter.shown().size(), 2);
    EXPECT_EQ(prompter.shown()[1].text, "xm(姓名)字段不能为空,请检查!");
    EXPECT_EQ(rs().state(), State::Insert);
    EXPECT_EQ(rs().value("cj").toInt(), 70);
    rs().cancel();
    prompter.clear();

    // Refused by the database: the failure is reported as one.
    rs().edit();
    rs().setValue("cj", -5);
    prompter.answerNext(Answer::Yes);
    EXPECT_EQ(settle(), SettleResult::Stay);
    ASSERT_EQ(prompter.shown().size(), 2);
    EXPECT_TRUE(prompter.shown()[1].text.startsWith("记录保存失败:")) << prompter.shown()[1].text.toStdString();
    EXPECT_EQ(prompter.shown()[1].icon, Prompter::Icon::Error);
    EXPECT_EQ(rs().state(), State::Edit);
    EXPECT_EQ(Query::scalar(db(), "SELECT cj FROM t_score").toInt(), 60);
}

VEK_BOTH_ENGINES(PendingEditTest);
