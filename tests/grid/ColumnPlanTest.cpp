#include "dictionary/DictionaryFixture.h"
#include "dictionary/FieldDictionary.h"
#include "grid/ColumnPlan.h"

using namespace vek;
using vek::test::DictionaryTest;

namespace {

const QString kTitle = QStringLiteral("学生名册");
const QString kTable = QStringLiteral("学生表");

QStringList fieldsOf(const ColumnPlan &plan)
{
    QStringList out;
    for (const PlannedColumn &c : plan.columns)
        out << c.field.toLower();
    return out;
}

const PlannedColumn *column(const ColumnPlan &plan, const QString &field)
{
    for (const PlannedColumn &c : plan.columns) {
        if (c.field.compare(field, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

} // namespace

TEST(SplitFieldList, CommasAndBlanks)
{
    EXPECT_EQ(SplitFieldList(",,a, b ,,,c,"), (QStringList{"a", "b", "c"}));
    EXPECT_TRUE(SplitFieldList("").isEmpty());
    EXPECT_TRUE(SplitFieldList(" , ,").isEmpty());
}

class ColumnPlanOnEngine : public DictionaryTest {
protected:
    void SetUp() override
    {
        DictionaryTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        auto q = [&](const char *n) { return d.quoteIdent(QString::fromUtf8(n)); };
        Query::run(db(), "CREATE TABLE " + d.quoteIdent(kTable) + " (id " + d.identityPrimaryKey() + ", " + q("姓名")
                             + " varchar(200), " + q("班级") + " varchar(10), " + q("成绩") + " float, " + q("奖金")
                             + " money, photo " + (d.engine() == Engine::Sqlite ? "blob" : "bytea")
                             + ", photokzm varchar(10), notekzm varchar(10), kzmc varchar(10), ShareMemo text, "
                             + "UserID varchar(20), " + q("出生日期") + " date, " + q("主页") + " varchar(80))");
        fields = db().columns(kTable);
        row(kTitle, "成绩", {{"GridTitleCaption", "考试|成绩"}, {"fvtAvg", true}});
        row(kTitle, "姓名", {{"CField", "学生姓名"}, {"readonly", true}});
        row(kTitle, "班级", {{"IsDefine", 1}, {"Range", "一班\r\n二班\r\n列表选择..."}});
        row(kTitle, "出生日期", {{"IsDefine", 1}, {"Range", "2000-01-01"}});
        row(kTitle, "主页", {{"DocFile", true}, {"CField", "个人主页"}});
        // A public row gives the pick list of a field the title rows do not describe.
        row(test::nullText(), "kzmc", {{"IsDefine", 1}, {"Range", "甲\n乙"}});
    }
    ColumnPlan plan(const QString &fieldList, bool plainTable = false, bool rights = true, bool catalog = true,
                    const QList<CalcDef> &calcs = {})
    {
        FieldDictionary dict(db());
        return PlanColumns(dict, DictionaryKey(kTitle, kTable), fields, fieldList, calcs, plainTable, rights, catalog);
    }
    ColumnList fields;
};

TEST_P(ColumnPlanOnEngine, AllFieldsWithoutHiddenOnesAndTheDictionarysTitlesListsAndFlags)
{
    const ColumnPlan p = plan("");
    EXPECT_EQ(fieldsOf(p), (QStringList{"姓名", "班级", "成绩", "奖金", "photo", "notekzm", "kzmc", "userid", "出生日期", "主页"}))
        << "no ShareMemo, no auto number, no photokzm beside photo; kzmc is no extension column";
    EXPECT_EQ(p.remark, "(\"note\"双击打开!)  ");
    EXPECT_TRUE(p.unknownFields.isEmpty());

    const PlannedColumn *score = column(p, "成绩");
    ASSERT_TRUE(score);
    EXPECT_EQ(score->titleLevels, (QStringList{"考试", "成绩"}));
    EXPECT_TRUE(score->average);
    EXPECT_FALSE(score->sum);
    const PlannedColumn *name = column(p, "姓名");
    EXPECT_EQ(name->title, "学生姓名");
    EXPECT_TRUE(name->readOnly) << "readonly in the dictionary holds in grids";
    EXPECT_EQ(name->width, 150) << "a wide field is capped";
    EXPECT_EQ(column(p, "班级")->pickList, (QStringList{"一班", "二班", "列表选择..."}));
    EXPECT_EQ(column(p, "kzmc")->pickList, (QStringList{"甲", "乙"}));
    EXPECT_TRUE(column(p, "出生日期")->pickList.isEmpty()) << "dates have no pick list";
    EXPECT_TRUE(column(p, "UserID")->readOnly);
    EXPECT_FALSE(column(p, "photo")->sortable);
    EXPECT_TRUE(column(p, "notekzm")->sortable);
    EXPECT_TRUE(column(p, "主页")->documentField);
    EXPECT_FALSE(column(p, "班级")->documentField);
    EXPECT_EQ(p.documentRemark, "(个人主页双击打开)");
    for (const PlannedColumn &c : p.columns)
        EXPECT_LE(c.width, 150) << c.field.toStdString();

    // Only averages are configured: one footer row, labelled in the text first column.
    EXPECT_FALSE(p.sumRow);
    EXPECT_TRUE(p.averageRow);
    EXPECT_FALSE(p.countRow);
    EXPECT_EQ(p.footerLabels, (QStringList{"平均"}));

    EXPECT_FALSE(column(plan("", false, false), "UserID")->readOnly) << "rights not in force";
}

TEST_P(ColumnPlanOnEngine, FieldListOrderUnknownNamesAndCalculatedColumns)
{
    const QList<CalcDef> calcs{{"总分", "成绩+奖金"}, {"计算2", "序号"}};
    const ColumnPlan p = plan(",,成绩, nosuch ,,姓名,photokzm", false, true, true, calcs);
    EXPECT_EQ(fieldsOf(p), (QStringList{"成绩", "姓名", "calcfield0", "calcfield1"}));
    EXPECT_EQ(p.unknownFields, (QStringList{"nosuch"})) << "skipped, the build goes on";
    const PlannedColumn &calc = p.columns[2];
    EXPECT_TRUE(calc.calculated);
    EXPECT_EQ(calc.calcIndex, 0);
    EXPECT_EQ(calc.title, "总分");
    EXPECT_EQ(calc.width, 70);
    EXPECT_TRUE(calc.rightAligned);
    EXPECT_FALSE(calc.sortable);
    EXPECT_EQ(p.columns[3].title, "计算2");
    // The first column is numeric: it shows values, not the row names.
    EXPECT_EQ(p.footerLabels, (QStringList{""}));
}

TEST_P(ColumnPlanOnEngine, PlainTableSumsAndAveragesEveryNumericColumnWithoutTheDictionary)
{
    const ColumnPlan p = plan("班级,成绩,奖金,姓名", true, false, false);
    EXPECT_TRUE(p.sumRow);
    EXPECT_TRUE(p.averageRow);
    EXPECT_FALSE(p.countRow);
    EXPECT_EQ(p.footerLabels, (QStringList{"合计", "平均"}));
    EXPECT_EQ(column(p, "班级")->title, "班级");
    EXPECT_TRUE(column(p, "班级")->pickList.isEmpty());
    EXPECT_FALSE(column(p, "姓名")->readOnly);
    for (const char *f : {"成绩", "奖金"}) {
        const PlannedColumn *c = column(p, QString::fromUtf8(f));
        EXPECT_TRUE(c->sum && c->average && !c->count) << f;
    }
    EXPECT_FALSE(column(p, "班级")->sum);

    const ColumnPlan texts = plan("班级,姓名", true, false, false);
    EXPECT_EQ(texts.footerRowCount(), 0);
    EXPECT_TRUE(texts.footerLabels.isEmpty());
}

VEK_BOTH_ENGINES(ColumnPlanOnEngine);

TEST(FooterLabels, ALabelNeverCoversAFooterValue)
{
    ColumnPlan plan;
    plan.sumRow = plan.averageRow = plan.countRow = true;
    PlannedColumn money;
    money.kind = ColumnInfo::Kind::Currency;
    money.sum = true;
    EXPECT_EQ(FooterLabelsFor(plan, money), (QStringList{"", "平均", "记数"}));
    PlannedColumn whole;
    whole.kind = ColumnInfo::Kind::Integer;
    EXPECT_EQ(FooterLabelsFor(plan, whole), (QStringList{"", "", ""}));
    plan.averageRow = false;
    EXPECT_EQ(FooterLabelsFor(plan, PlannedColumn{}), (QStringList{"合计", "记数"}));
}
