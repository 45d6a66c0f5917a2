#include "dictionary/DictionaryFixture.h"
#include "security/RightsFixture.h"

#include "grid/RecordRules.h"
#include "platform/Clock.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "platform/Query.h"
#include "platform/RecordSet.h"

#include <memory>

using namespace vek;
using Icon = Prompter::Icon;
using State = RecordSet::State;

namespace {

const QString kTitle = QStringLiteral("学生's档案"); // an apostrophe must not break a statement
const QString kTable = QStringLiteral("t_student");

QDateTime dateTimeOf(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    return QDateTime::fromString(v.toString().left(19).replace('T', ' '), "yyyy-MM-dd HH:mm:ss");
}

} // namespace

class RecordRulesTest : public vek::test::RightsFixture {
protected:
    void SetUp() override
    {
        RightsFixture::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        auto q = [&](const char *n) { return d.quoteIdent(QString::fromUtf8(n)); };
        Query::run(db(), "CREATE TABLE " + q("t_student") + " (" + q("id") + " " + d.identityPrimaryKey() + ", " + q("bh")
                             + " varchar(10), " + q("xm") + " varchar(20), " + q("kh") + " varchar(10), " + q("班级")
                             + " varchar(10), " + q("cj") + " integer, " + q("xh") + " integer, " + q("yf")
                             + " varchar(10), " + q("lr") + " varchar(16), " + q("bz") + " varchar(10), " + q("nf")
                             + " integer, " + q("rq") + " " + d.dateType() + ", " + q("djsj") + " " + d.dateTimeType()
                             + ")");
        Query::run(db(), "CREATE TABLE t_class (code varchar(10) PRIMARY KEY, kind varchar(10), num integer)");
        Query::run(db(), "INSERT INTO t_class VALUES ('一班', 'A', 0)");
        m_id = addResource(kTitle, kTable, "1", "boss", false);
    }
    void TearDown() override
    {
        m_rs.reset();
        m_rules.reset();
        RightsFixture::TearDown();
    }

    void dict(const QString &field, QMap<QString, QVariant> values)
    {
        values["TableName"] = kTitle;
        values["EField"] = field;
        vek::test::addDictRow(db(), values);
    }
    void addStudent(const QVariantMap &values)
    {
        QStringList cols, params;
        for (auto it = values.begin(); it != values.end(); ++it) {
            cols << db().dialect().quoteIdent(it.key());
            params << ":HostV" + QString::number(params.size());
        }
        Query q(db());
        q.prepare("INSERT INTO t_student (" + cols.join(", ") + ") VALUES (" + params.join(", ") + ")");
        int i = 0;
        for (auto it = values.begin(); it != values.end(); ++it)
            q.bind(":HostV" + QString::number(i++), it.value());
        q.exec();
    }
    int count(const QString &where = {})
    {
        return Query::scalar(db(), "SELECT count(*) FROM t_student" + (where.isEmpty() ? QString() : " WHERE " + where))
            .toInt();
    }
    int classNum() { return Query::scalar(db(), "SELECT num FROM t_class WHERE code = '一班'").toInt(); }

    RecordRules &start(const CurrentUser &u = user("admin", 0), RuleResource r = {})
    {
        r.id = m_id;
        r.title = kTitle;
        r.table = kTable;
        m_rs.reset();
        m_rules = std::make_unique<RecordRules>(db(), prompter, clock, u, r);
        m_rs = std::make_unique<RecordSet>(db());
        m_rs->open(kTable);
        m_rules->setUp(*m_rs);
        m_rules->attach(*m_rs);
        return *m_rules;
    }
    RecordSet &rs() { return *m_rs; }

    // Expects exactly one prompt since the last clear, with that text and icon.
    void expectOnly(const QString &text, Icon icon)
    {
        ASSERT_EQ(prompter.shown().size(), 1) << prompter.texts().join(" | ").toStdString();
        EXPECT_EQ(prompter.shown()[0].caption, "系统提示");
        EXPECT_EQ(prompter.shown()[0].text, text);
        EXPECT_EQ(prompter.shown()[0].icon, icon);
        prompter.clear();
    }

    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(14, 30, 15))};
    int m_id = 0;
    std::unique_ptr<RecordRules> m_rules;
    std::unique_ptr<RecordSet> m_rs;
};

TEST_P(RecordRulesTest, RequiredFieldsRefuseTheSaveAndKeepTheInput)
{
    dict("xm", {{"Cfield", "姓名"}, {"IsNull", true}});
    dict("kh", {{"IsNull", true}});
    start();
    rs().insert();
    rs().setValue("cj", 50);
    EXPECT_THROW(rs().post(), RecordRefused);
    expectOnly("xm(姓名)字段不能为空,请检查!", Icon::Warning);
    EXPECT_EQ(rs().state(), State::Insert);
    EXPECT_EQ(rs().value("cj").toInt(), 50);

    rs().setValue("xm", "张三");
    EXPECT_THROW(rs().post(), RecordRefused);
    expectOnly("【kh】字段不能为空,请检查!", Icon::Error);

    rs().setValue("kh", " "); // a blank is text
    rs().post();
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_P(RecordRulesTest, RangeRefusesValuesOutsideMinimumAndMaximum)
{
    dict("cj", {{"IsDefine", 2}, {"Minvalue", 0}, {"Maxvalue", 100}});
    start();
    const struct {
        QVariant value;
        bool passes;
    } cases[] = {{100, true}, {0, true}, {QVariant(), true}, {"100.5", false}, {-1, false}, {"abc", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString());
        rs().insert();
        rs().setValue("cj", c.value);
        rs().setValue("bh", "x");
        if (c.passes) {
            EXPECT_NO_THROW(rs().post());
            EXPECT_TRUE(prompter.shown().isEmpty());
        } else {
            EXPECT_THROW(rs().post(), RecordRefused);
            expectOnly("输入值非法!其范围为:0至100", Icon::Error);
            rs().cancel();
        }
    }
}

TEST_P(RecordRulesTest, UniqueFieldsIgnoreLetterCaseAndLetUnchangedRecordsPass)
{
    addStudent({{"bh", "XS01"}, {"xm", "甲"}});
    addStudent({{"bh", "XS01"}, {"xm", "乙"}}); // an old duplicate
    addStudent({{"bh", "XS02"}, {"xm", "丙"}});
    dict("bh", {{"isUnique", true}});
    start();
    const QString refused = "【bh】字段内容不能重复,请检查!";

    rs().insert();
    rs().setValue("bh", "xs02");
    EXPECT_THROW(rs().post(), RecordRefused);
    expectOnly(refused, Icon::Error);
    EXPECT_EQ(rs().state(), State::Insert);
    EXPECT_EQ(rs().value("bh").toString(), "xs02");
    rs().setValue("bh", "XS03");
    rs().post();

    // Another field of a record whose number has a duplicate: allowed.
    rs().seek(1);
    rs().edit();
    rs().setValue("xm", "乙二");
    EXPECT_NO_THROW(rs().post());
    // The record is never its own duplicate, even when only its case changes.
    rs().seek(2);
    rs().edit();
    rs().setValue("bh", "xs02");
    EXPECT_NO_THROW(rs().post());
    // Taking another record's number: refused.
    rs().edit();
    rs().setValue("bh", "XS03");
    EXPECT_THROW(rs().post(), RecordRefused);
    expectOnly(refused, Icon::Error);
    rs().cancel();
    EXPECT_EQ(count("bh = 'XS03'"), 1);
}

TEST_P(RecordRulesTest, DefaultsTakeKeywordsFromTheClockAndOtherTextsLiterally)
{
    dict("yf", {{"DefaultValue", "MONTH"}});
    dict("nf", {{"DefaultValue", "year"}});
    dict("lr", {{"DefaultValue", "userid"}});
    dict("bz", {{"DefaultValue", "DATE"}});
    dict("xm", {{"DefaultValue", "TIME"}});
    dict("kh", {{"DefaultValue", "DAY"}});
    dict("djsj", {{"DefaultValue", "DATETIME"}});
    dict("cj", {{"DefaultValue", "很多"}}); // the integer column cannot take it: only it is skipped
    start(user("li", 0));
    rs().insert();
    EXPECT_EQ(rs().value("yf").toString(), "3");
    EXPECT_EQ(rs().value("nf").toInt(), 2026);
    EXPECT_EQ(rs().value("lr").toString(), "li");
    EXPECT_EQ(rs().value("bz").toString(), "DATE");
    EXPECT_EQ(rs().value("xm").toString(), "14:30:15");
    EXPECT_EQ(rs().value("kh").toString(), "5");
    EXPECT_TRUE(rs().value("cj").isNull());
    rs().post();
    EXPECT_EQ(dateTimeOf(rs().value("djsj")), QDateTime(QDate(2026, 3, 5), QTime(14, 30, 15)));
}

TEST_P(RecordRulesTest, AutoNumbersCountOnKeepingWidthAndDatesTakeToday)
{
    dict("bh", {{"AutoAdd", true}});
    dict("xh", {{"AutoAdd", true}});
    dict("rq", {{"AutoAdd", true}});
    dict("djsj", {{"AutoAdd", true}});
    start();
    rs().insert(); // empty table
    EXPECT_EQ(rs().value("bh").toString(), "1");
    EXPECT_EQ(rs().value("xh").toInt(), 1);
    rs().cancel();

    addStudent({{"bh", "XS0099"}, {"xh", 9}});
    addStudent({{"bh", "XS0010"}, {"xh", 3}});
    rs().refresh();
    rs().insert();
    EXPECT_EQ(rs().value("bh").toString(), "XS0100");
    EXPECT_EQ(rs().value("xh").toInt(), 10);
    rs().post();
    EXPECT_EQ(rs().value("rq").toDate(), QDate(2026, 3, 5));
    EXPECT_EQ(dateTimeOf(rs().value("djsj")), QDateTime(QDate(2026, 3, 5), QTime(0, 0)));
}

TEST_P(RecordRulesTest, MaximumCountsTextsNumericallyWithinTheGroup)
{
    addStudent({{"bh", "9"}, {"班级", "一班"}, {"xh", 7}});
    addStudent({{"bh", "10"}, {"班级", "一班"}, {"xh", 12}});
    addStudent({{"bh", "A99"}, {"班级", "二班"}});
    addStudent({{"bh", "A100"}, {"班级", "二班"}});
    EXPECT_EQ(GetMaxValue(db(), kTable, "bh", "班级", "一班"), "10");
    EXPECT_EQ(GetMaxValue(db(), kTable, "bh", "班级", "二班"), "A100");
    EXPECT_EQ(GetMaxValue(db(), kTable, "bh", "班级", "三班"), "");
    EXPECT_EQ(GetMaxValue(db(), kTable, "xh"), "12");
    EXPECT_EQ(GetMaxValue(db(), kTable, "BH"), "A100");
    EXPECT_THROW(GetMaxValue(db(), kTable, "no_field"), DbError);

    // A new record numbers within the class of the record that was current.
    dict("bh", {{"AutoAdd", true}});
    RuleResource r;
    r.numberingGroupField = "班级";
    start(user("admin", 0), r);
    rs().seek(0);
    rs().insert();
    EXPECT_EQ(rs().value("bh").toString(), "11");
    rs().cancel();
    rs().seek(3);
    rs().insert();
    EXPECT_EQ(rs().value("bh").toString(), "A101");
}

TEST_P(RecordRulesTest, NewRecordTakesTheClassificationValues)
{
    start().setClassification({{"班级", "一班"}, {"not_a_field", "x"}});
    rs().insert();
    EXPECT_EQ(rs().value("班级").toString(), "一班");
    rs().post();
    EXPECT_EQ(count(db().dialect().quoteIdent("班级") + " = '一班'"), 1);
}

TEST(AfterSaveStatement, ParameterNamesAreEveryPlaceholderOutsideQuotes)
{
    const struct {
        const char *sql;
        QStringList names;
    } cases[] = {
        {"update t_class set num=num+1 where code=:code and kind=:kind", {"code", "kind"}},
        {"update t_class set num=num+1 where code=:code", {"code"}},
        {"update t set a=:x where b=:x and c=1", {"x"}},
        {"update t set a=':no' where b=:班级 and c = d::int -- :neither", {"班级"}},
        {"update t set a = 1", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AfterSaveParameterNames(QString::fromUtf8(c.sql)), c.names) << c.sql;
}

TEST_P(RecordRulesTest, AfterSaveStatementRunsWithTheSavedRecordAndReportsOnlySuccess)
{
    const struct {
        const char *sql;
        const char *hint;
        int increment;
    } cases[] = {
        {"update t_class set num=num+1 where code=:班级", "", 1}, // only parameter, at the end
        {"update t_class set num=num+10 where code=:班级 and kind=:kh", "已计数", 10},
        {"update t_class set num=num+100 where code=:班级 and kind='A'", "", 100}, // one, not last
        {"update no_such_table set num=1 where code=:班级", "", 0},              // fails silently
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        RuleResource r;
        r.afterSaveSql = QString::fromUtf8(c.sql);
        r.afterSaveHint = QString::fromUtf8(c.hint);
        start(user("admin", 0), r);
        const int before = classNum();
        const int rows = count();
        rs().insert();
        rs().setValue("班级", "一班");
        rs().setValue("kh", "A");
        rs().post();
        EXPECT_EQ(count(), rows + 1) << "the record is saved in any case";
        EXPECT_EQ(classNum(), before + c.increment);
        if (c.increment)
            expectOnly(c.hint[0] ? QString::fromUtf8(c.hint) : QString("记录更新成功!"), Icon::Information);
        else
            EXPECT_TRUE(prompter.shown().isEmpty());
    }
    // After the failing statement the connection still works.
    rs().edit();
    rs().setValue("xm", "后来");
    rs().post();
    EXPECT_EQ(count(db().dialect().quoteIdent("xm") + " = '后来'"), 1);
}

TEST_P(RecordRulesTest, AfterSaveStatementWaitsForTheRulesAndNamesMustBeFields)
{
    dict("xm", {{"IsNull", true}});
    RuleResource r;
    r.afterSaveSql = "update t_class set num=num+1 where code=:班级";
    start(user("admin", 0), r);
    rs().insert();
    rs().setValue("班级", "一班");
    EXPECT_THROW(rs().post(), RecordRefused);
    prompter.clear();
    EXPECT_EQ(classNum(), 0) << "a refused save runs no statement";

    r.afterSaveSql = "update t_class set num=num+1 where code=:nosuch";
    start(user("admin", 0), r);
    rs().insert();
    rs().setValue("xm", "甲");
    EXPECT_THROW(rs().post(), DbError);
    EXPECT_EQ(rs().state(), State::Insert);
    EXPECT_EQ(count(), 0);
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_P(RecordRulesTest, DeleteAsksUnlessAMultiRecordDeleteRuns)
{
    addStudent({{"bh", "1"}});
    addStudent({{"bh", "2"}});
    RecordRules &rules = start();
    prompter.answerNext(Prompter::Answer::No);
    EXPECT_THROW(rs().remove(), RecordRefused);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].kind, ScriptedPrompter::Shown::Kind::Question);
    EXPECT_EQ(prompter.shown()[0].text, "确定要删除这条数据吗?");
    EXPECT_EQ(prompter.shown()[0].icon, Icon::Question);
    EXPECT_EQ(count(), 2);

    prompter.answerNext(Prompter::Answer::Yes);
    rs().remove();
    EXPECT_EQ(count(), 1);
    prompter.clear();
    {
        RecordRules::QuietDelete quiet(rules);
        rs().remove();
    }
    EXPECT_EQ(count(), 0);
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_P(RecordRulesTest, RightsAreEnforcedOnEveryWriteEvenWithTheRulesOff)
{
    addStudent({{"bh", "1"}});
    addUser("li", "1");
    addUser("wang", "1");
    addUser("boss", "1");
    RightsRecord browseUpdate;
    browseUpdate.browse = browseUpdate.update = true;
    grant(m_id, "li", browseUpdate);
    RightsRecord browseOnly;
    browseOnly.browse = browseOnly.add = browseOnly.remove = true; // no update: nothing may be written
    grant(m_id, "wang", browseOnly);

    RecordRules &li = start(user("li", 1));
    EXPECT_TRUE(li.mayUpdate());
    EXPECT_FALSE(li.mayAdd());
    EXPECT_THROW(rs().insert(), RecordRefused);
    expectOnly("你没有添加的权利！", Icon::Warning);
    EXPECT_EQ(rs().state(), State::Browse);
    EXPECT_THROW(rs().remove(), RecordRefused);
    expectOnly("你没有删除的权利！", Icon::Warning);
    EXPECT_THROW(li.requireRight(Right::Delete), RecordRefused); // for multi-row deletes
    expectOnly("你没有删除的权利！", Icon::Warning);
    rs().edit();
    rs().setValue("xm", "改");
    rs().post();

    RecordRules &wang = start(user("wang", 1));
    wang.setEnabled(false); // a birthday or school mode
    EXPECT_FALSE(wang.mayUpdate());
    EXPECT_FALSE(wang.mayAdd());
    EXPECT_THROW(rs().edit(), RecordRefused);
    expectOnly("你没有编辑的权利！", Icon::Warning);
    EXPECT_THROW(rs().insert(), RecordRefused);
    prompter.clear();

    // No rights row: nothing. The owner: everything.
    EXPECT_FALSE(start(user("zhao", 1)).mayUpdate());
    EXPECT_TRUE(start(user("BOSS", 1)).rights().allSet());
    EXPECT_TRUE(m_rules->mayDelete());
}

TEST_P(RecordRulesTest, SetUpFailuresAreReportedAndRightsFailClosed)
{
    dict("xm", {{"IsNull", true}});
    addUser("li", "1");
    grant(m_id, "li", RightsRecord::all());
    Query::run(db(), "DROP TABLE usys_displist");
    RecordRules &li = start(user("li", 1));
    EXPECT_FALSE(li.mayUpdate()) << "rights that cannot be read grant nothing";
    EXPECT_FALSE(li.mayAdd());
    EXPECT_EQ(li.required().names, QStringList{"xm"}) << "the dictionary rules are still built";

    Query::run(db(), "DROP TABLE usys_dict");
    RecordRules &admin = start();
    EXPECT_TRUE(admin.mayUpdate());
    EXPECT_FALSE(admin.lastSetUpError().isEmpty());
    EXPECT_TRUE(admin.required().names.isEmpty());
}

TEST_P(RecordRulesTest, SwitchedOffRulesNeitherFillNorCheck)
{
    dict("xm", {{"IsNull", true}, {"DefaultValue", "MONTH"}});
    start().setEnabled(false);
    rs().insert();
    EXPECT_TRUE(rs().value("xm").isNull());
    rs().setValue("bh", "1");
    EXPECT_NO_THROW(rs().post());
    EXPECT_TRUE(prompter.shown().isEmpty());
}

VEK_BOTH_ENGINES(RecordRulesTest);
