#include "app/DemoLibrary.h"
#include "dictionary/FieldDictionary.h"
#include "grid/CalcColumns.h"
#include "grid/SchoolMode.h"
#include "grid/StoredFilter.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace vek;

namespace {

// The demo is made once for the whole suite: it generates 100,000 rows.
class DemoLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        const QString path = QDir(s_dir->path()).filePath("demo.vek");
        ConsolePrompter quiet;
        ASSERT_TRUE(MakeDemoLibrary(path, quiet));
        s_db = std::make_unique<TDModule>();
        s_db->openSqliteFile(path);
    }
    static void TearDownTestSuite()
    {
        s_db.reset();
        s_dir.reset();
    }
    static TDModule &db() { return *s_db; }
    static QVariant scalar(const QString &sql) { return Query::scalar(db(), sql); }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static std::unique_ptr<TDModule> s_db;
};

std::unique_ptr<QTemporaryDir> DemoLibrary::s_dir;
std::unique_ptr<TDModule> DemoLibrary::s_db;

struct ResourceCase {
    const char *title, *table, *parent, *sFilter, *groupText, *groupHints, *recordHints;
    bool groupRecn;
};

} // namespace

TEST_F(DemoLibrary, ResourcesCarryWhatTheGridWindowReads)
{
    const ResourceCase cases[] = {
        {"学生档案", "学生档案", "学生管理", "", "班级", "全部学生", "学生数", true},
        {"班级管理", "班级管理", "学生管理", "", "", "", "班级数", false},
        {"学生生日", "学生档案", "学生管理", "本周生日,出生日期", "", "", "学生数", false},
        {"学生毕业", "学生档案", "学生管理", "[当前状态]='在读'", "", "全部学生", "学生数", true},
        {"学生调班", "学生档案", "学生管理", "[当前状态]='在读'", "", "全部学生", "学生数", true},
        {"学生升级", "学生档案", "学生管理", "[当前状态]='在读'", "", "全部学生", "学生数", true},
        {"成绩流水", "成绩流水", "成绩管理", "", "科目", "全部成绩", "成绩条数", true},
    };
    for (const ResourceCase &c : cases) {
        SCOPED_TRACE(c.title);
        Query q(db(), "SELECT s.FirstTable, s.Flag, s.sFilter, s.GroupText, s.GroupRecn, s.GroupHints, s.RecordHints, "
                      "p.AppTitle FROM usys_system s LEFT JOIN usys_system p ON p.child = s.parent "
                      "WHERE s.AppTitle = :HostTitle",
                {{":HostTitle", c.title}});
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString(), c.table);
        EXPECT_EQ(q.value(1).toString(), "1") << "a grid application";
        EXPECT_EQ(q.value(2).toString(), c.sFilter);
        EXPECT_EQ(q.value(3).toString(), c.groupText);
        EXPECT_EQ(q.value(4).toBool(), c.groupRecn);
        EXPECT_EQ(q.value(5).toString(), c.groupHints);
        EXPECT_EQ(q.value(6).toString(), c.recordHints);
        EXPECT_EQ(q.value(7).toString(), c.parent);
        EXPECT_FALSE(q.next()) << "titles are unique in the demo";
        EXPECT_TRUE(db().tableExists(c.table));
        // A standing filter the program cannot read keeps the resource closed.
        if (!QString(c.sFilter).contains("生日"))
            EXPECT_NO_THROW(ReadStoredFilter(db().dialect(), c.sFilter));
    }
    EXPECT_EQ(scalar("SELECT QueryField FROM usys_system WHERE AppTitle = '成绩流水'").toString(),
              "学号,姓名,科目,成绩,考试日期");
}

TEST_F(DemoLibrary, SchoolResourcesAreRecognisedAndFindTheClasses)
{
    const struct {
        const char *title;
        SchoolKind kind;
    } cases[] = {{"学生毕业", SchoolKind::Graduate}, {"学生调班", SchoolKind::ChangeClass}, {"学生升级", SchoolKind::Promote}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title);
        const QString table =
            Query::scalar(db(), "SELECT FirstTable FROM usys_system WHERE AppTitle = :HostTitle", {{":HostTitle", c.title}})
                .toString();
        const SchoolSetup s = DetectSchoolMode(c.title, table);
        ASSERT_EQ(s.kind, c.kind);
        const QStringList classes = SchoolClassNames(db(), s, QStringLiteral("初二(1)班"));
        EXPECT_EQ(classes, (QStringList{"初一(1)班", "初一(2)班", "初二(2)班", "初三(1)班", "初三(2)班"}));
    }
    EXPECT_EQ(scalar("SELECT count(*) FROM 学生档案 WHERE 当前状态 = '在读'").toInt(),
              scalar("SELECT count(*) FROM 学生档案").toInt());
    EXPECT_EQ(scalar("SELECT count(*) FROM 学生档案 WHERE 班级 LIKE '%(%'").toInt(),
              scalar("SELECT count(*) FROM 学生档案").toInt())
        << "class names hold brackets, which the class tree must keep";
}

TEST_F(DemoLibrary, BirthdaysFallInTheDemoWeekAndMonth)
{
    // The window tests run on 2026-12-11, in the week of 12-07 to 12-13.
    const auto count = [](const char *from, const char *to) {
        return Query::scalar(db(), "SELECT count(*) FROM 学生档案 WHERE substr(出生日期, 6, 5) BETWEEN :HostFrom AND :HostTo",
                             {{":HostFrom", from}, {":HostTo", to}})
            .toInt();
    };
    EXPECT_GE(count("12-11", "12-11"), 1) << "today";
    EXPECT_GE(count("12-07", "12-13"), 3) << "this week";
    EXPECT_GE(count("12-14", "12-20"), 1) << "next week";
    EXPECT_GT(count("12-01", "12-31"), count("12-07", "12-13")) << "this month beyond this week";
    EXPECT_GE(count("01-01", "01-31"), 1) << "next month, in January";
}

TEST_F(DemoLibrary, ScoreLogIsLargeAndPlausible)
{
    EXPECT_EQ(scalar("SELECT count(*) FROM 成绩流水").toInt(), DemoScoreRows);
    EXPECT_EQ(DemoScoreRows, 100000);
    EXPECT_EQ(scalar("SELECT min(流水号) || '-' || max(流水号) FROM 成绩流水").toString(), "1-100000");
    EXPECT_EQ(scalar("SELECT count(*) FROM 成绩流水 f LEFT JOIN 学生档案 s ON s.编号 = f.学号 AND s.姓名 = f.姓名 "
                     "WHERE s.编号 IS NULL")
                  .toInt(),
              0)
        << "every row names a demo student";
    EXPECT_EQ(scalar("SELECT count(DISTINCT 学号) FROM 成绩流水").toInt(), scalar("SELECT count(*) FROM 学生档案").toInt());
    EXPECT_EQ(scalar("SELECT count(DISTINCT 科目) FROM 成绩流水").toInt(), 6);
    EXPECT_EQ(scalar("SELECT count(*) FROM 成绩流水 WHERE 成绩 < 40 OR 成绩 > 100 OR 成绩 IS NULL").toInt(), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM 成绩流水 WHERE 考试日期 NOT BETWEEN '2024-09-01' AND '2026-12-11' "
                     "OR length(考试日期) <> 10")
                  .toInt(),
              0);
    const double avg = scalar("SELECT avg(成绩) FROM 成绩流水").toDouble();
    EXPECT_GT(avg, 55.0);
    EXPECT_LT(avg, 85.0);
}

TEST_F(DemoLibrary, DictionaryAnswersFootersAndDocumentField)
{
    FieldDictionary dict(db());
    // The school and birthday resources read the rows of their table.
    for (const char *title : {"学生档案", "学生生日", "学生升级"}) {
        SCOPED_TRACE(title);
        const DictionaryKey key(title, "学生档案");
        const FooterFields f = dict.GetFooterFields(key);
        EXPECT_EQ(f.sum, (QStringList{"入学成绩"}));
        EXPECT_EQ(f.average, (QStringList{"入学成绩"}));
        EXPECT_EQ(f.count, (QStringList{"入学成绩"}));
        EXPECT_TRUE(dict.IsDocumentField(key, "个人主页"));
        EXPECT_FALSE(dict.IsDocumentField(key, "姓名"));
    }
    const DictionaryKey students("学生档案", "学生档案");
    EXPECT_EQ(dict.GetFieldInputInfo(students, "当前状态").choices, (QStringList{"在读", "毕业", "休学"}));
    EXPECT_EQ(dict.GetFieldInputInfo(students, "班级").choices.size(), 6) << "the 初三 classes wait for promotion";

    const DictionaryKey scores("成绩流水", "成绩流水");
    const FooterFields f = dict.GetFooterFields(scores);
    EXPECT_EQ(f.sum, (QStringList{"成绩"}));
    EXPECT_EQ(f.average, (QStringList{"成绩"}));
    EXPECT_TRUE(f.count.isEmpty());
    EXPECT_EQ(dict.GetStatisticsFields(scores).names, (QStringList{"科目"}));
}

TEST(DemoSettings, WrittenOnceAndAUsersColumnsKept)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("vek2000.Ini");
    {
        IniFile ini(path);
        ASSERT_TRUE(ini.setValue("学生档案", "FieldList", "编号,姓名")); // the section exists, without columns
        WriteDemoSettings(ini);
        EXPECT_TRUE(ini.lastError().isEmpty());
    }
    IniFile ini(path); // read back from the file
    EXPECT_EQ(ini.value("学生档案", "CalcFieldCount"), "1");
    EXPECT_EQ(ini.value("学生档案", "CalcField0"), "年龄:now-出生日期");
    EXPECT_EQ(ini.value("学生档案", "FieldList"), "编号,姓名");
    const QList<CalcDef> defs = ReadCalcDefs(ini, "学生档案");
    ASSERT_EQ(defs.size(), 1);
    EXPECT_EQ(defs[0].caption, "年龄");
    EXPECT_EQ(defs[0].expression, "now-出生日期");

    // A user's own column survives a second make-demo, whichever key he set.
    ASSERT_TRUE(ini.setValue("学生档案", "CalcField0", "总分:入学成绩+10"));
    WriteDemoSettings(ini);
    EXPECT_EQ(IniFile(path).value("学生档案", "CalcField0"), "总分:入学成绩+10");

    IniFile other(QDir(dir.path()).filePath("other.Ini"));
    ASSERT_TRUE(other.setValue("学生档案", "CalcField0", "序号"));
    WriteDemoSettings(other);
    EXPECT_FALSE(IniFile(other.path()).contains("学生档案", "CalcFieldCount"));
    EXPECT_EQ(IniFile(other.path()).value("学生档案", "CalcField0"), "序号");
}
