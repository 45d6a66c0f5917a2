#include "app/CurrentResource.h"
#include "catalog/Catalog.h"
#include "platform/AppContext.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/Query.h"
#include "support/TestSupport.h"

#include <QDir>

using namespace vek;
using vek::test::EngineTest;

TEST(PrepareFilter, UserNameIsBoundAndNowIsToday)
{
    const QDate today(2026, 12, 11);
    const struct {
        const char *stored, *text;
        const char *user; // expected bound user, or null
        int nows;
    } cases[] = {
        {"录入人=UserName", "录入人=:HostCurrentUser", "bob", 0},
        {"owner = username and 日期<=&Now", "owner = :HostCurrentUser and 日期<=:HostNow0", "bob", 1},
        {"日期 between &now and &NOW", "日期 between :HostNow0 and :HostNow1", nullptr, 2},
        {"备注='UserName'", "备注='UserName'", nullptr, 0},     // inside a literal: text, not the keyword
        {"CreateUserName='x'", "CreateUserName='x'", nullptr, 0}, // part of a longer name
        {"  ", "", nullptr, 0},
    };
    for (const auto &c : cases) {
        const PreparedFilter f = PrepareFilter(QString::fromUtf8(c.stored), "bob", today);
        EXPECT_EQ(f.text, QString::fromUtf8(c.text)) << c.stored;
        EXPECT_EQ(f.binds.contains(":HostCurrentUser"), c.user != nullptr) << c.stored;
        if (c.user) {
            EXPECT_EQ(f.binds.value(":HostCurrentUser").toString(), c.user);
        }
        for (int i = 0; i < c.nows; ++i)
            EXPECT_EQ(f.binds.value(QString(":HostNow%1").arg(i)).toDate(), today) << c.stored;
    }
}

TEST(PrepareFilter, ANameWithAnApostropheStaysAValue)
{
    const PreparedFilter f = PrepareFilter("录入人=UserName", "O'Brien", QDate(2026, 1, 1));
    EXPECT_FALSE(f.text.contains("O'Brien"));
    EXPECT_EQ(f.binds.value(":HostCurrentUser").toString(), "O'Brien");
}

class CurrentResourceOnEngine : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        CreateFullCatalog(db());
        ini = std::make_unique<IniFile>(QDir(testDb().dir()).filePath("vek2000.Ini"));
        ctx = std::make_unique<AppContext>(AppContext{db(), *ini, prompter, clock});
        ctx->user.name = "bob";
    }
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 11), QTime(10, 0))};
    std::unique_ptr<IniFile> ini;
    std::unique_ptr<AppContext> ctx;
};

TEST_P(CurrentResourceOnEngine, LoadsTheRowAndPreparesItsSettings)
{
    const QVariant id = Query::scalar(
        db(),
        "INSERT INTO usys_system (AppTitle, FirstTable, FirstFieldlist, Flag, sFilter, GroupText, GroupCoding, "
        "GroupRecn, RecordHints, PageCount) VALUES ('学生档案', '学生档案', '编号,姓名', '1', '录入人=UserName', "
        ":HostGroup, :HostTrue, :HostTrue, '', 0)"
            + db().dialect().returning("id"),
        {{":HostGroup", "班级\r\n性别"}, {":HostTrue", true}});
    const CurrentResource r = LoadCurrentResource(*ctx, id.toInt());
    ASSERT_TRUE(r.isValid());
    EXPECT_EQ(r.title, "学生档案");
    EXPECT_EQ(r.mainTable, "学生档案");
    EXPECT_EQ(r.fieldList, "编号,姓名");
    EXPECT_EQ(r.recordHint, "记录数");
    EXPECT_EQ(r.pageCount, 1) << "0 reads as 1";
    EXPECT_EQ(r.filter.text, "录入人=:HostCurrentUser");
    EXPECT_EQ(r.grouping.fields, (QStringList{"班级", "性别"}));
    EXPECT_EQ(r.grouping.codedField, "班级");
    EXPECT_TRUE(r.grouping.showCounts);
    EXPECT_EQ(r.layoutCacheName, QString("Dyna%1.dat").arg(id.toInt()));
    IniFile reread(ini->path());
    EXPECT_EQ(reread.value("学生档案", "ClassField"), "班级");
    EXPECT_EQ(reread.value("学生档案", "ClassField1"), "性别");
    EXPECT_TRUE(reread.boolValue("学生档案", "ClassDisplay", false));

    EXPECT_FALSE(LoadCurrentResource(*ctx, 9999).isValid());
}

TEST_P(CurrentResourceOnEngine, DataTablesLeaveOutTheCatalogAndScratchTablesGo)
{
    Query::run(db(), "CREATE TABLE " + db().dialect().quoteIdent("成绩") + " (x integer)");
    Query::run(db(), "CREATE TABLE tjtmp3 (x integer)");
    EXPECT_EQ(DataTableNames(db()), (QStringList{"tjtmp3", "成绩"}));
    DropStatisticsTables(db());
    EXPECT_EQ(DataTableNames(db()), QStringList{"成绩"});
}

VEK_BOTH_ENGINES(CurrentResourceOnEngine);
