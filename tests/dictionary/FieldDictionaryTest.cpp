#include "DictionaryFixture.h"

#include "dictionary/FieldDictionary.h"
#include "platform/DbError.h"

using namespace vek;
using vek::test::DictionaryTest;
using vek::test::nullText;

namespace {

const QString kTitle = QStringLiteral("张三's 档案"); // an apostrophe must not break any statement
const QString kTable = QStringLiteral("t_student");

} // namespace

TEST(FieldListMembership, ItemsMatchWholeIgnoringCase)
{
    const FieldList list(QStringLiteral("bh, bhx"));
    EXPECT_TRUE(list.contains("bh"));
    EXPECT_TRUE(list.contains("BHX"));
    EXPECT_FALSE(list.contains("b"));
    EXPECT_FALSE(list.contains("x"));
    EXPECT_EQ(list.spelling("BH"), "bh");
    for (const QString &all : {QString(), QStringLiteral(" "), QStringLiteral("*")}) {
        EXPECT_TRUE(FieldList(all).admitsAll()) << all.toStdString();
        EXPECT_TRUE(FieldList(all).contains("anything"));
    }
}

class Captions : public DictionaryTest {
protected:
    void SetUp() override
    {
        DictionaryTest::SetUp();
        if (IsSkipped())
            return;
        row(kTable, "bh", {{"Cfield", "表里的编号"}}); // written first: precedence is not order
        row(kTitle, "bh", {{"Cfield", "编号"}});
        row(kTitle, "xm", {{"Cfield", "   "}});
        row(kTitle, "cj", {{"GridTitleCaption", "成绩|总分"}, {"Cfield", ""}});
        row(kTitle, "kh", {{"GridTitleCaption", " "}, {"Cfield", " 考号 "}});
        row(kTable, "xb", {{"Cfield", "性别"}});
        row(nullText(), "dz", {{"Cfield", "地址"}});
        row(QString(""), "dh", {{"Cfield", "电话"}});
        row(QString("其他资源"), "qt", {{"Cfield", "别人的"}});
    }
};

TEST_P(Captions, TitleThenTableThenPublicRows)
{
    FieldDictionary dict(db());
    const DictionaryKey key(kTitle, kTable);
    struct Case {
        const char *field;
        const char *caption;
        const char *gridTitle;
    } cases[] = {
        {"bh", "编号", "编号"},            // title row wins over the table row
        {"BH", "编号", "编号"},            // keys compare without regard to case
        {"xm", "xm", "xm"},                // blank caption: the field name
        {"cj", "cj", "成绩|总分"},         // grid title only in grids
        {"kh", "考号", "考号"},            // blank grid title falls back to the trimmed caption
        {"xb", "性别", "性别"},            // table row
        {"dz", "地址", "地址"},            // public row, NULL key
        {"dh", "电话", "电话"},            // public row, '' key
        {"qt", "qt", "qt"},                // another resource's row says nothing here
        {"none", "none", "none"},          // no row at all
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(dict.GetFieldCaption(key, c.field), QString::fromUtf8(c.caption));
        EXPECT_EQ(dict.GetGridTitle(key, c.field), QString::fromUtf8(c.gridTitle));
    }
    // Without the table, the table's rows do not apply.
    EXPECT_EQ(dict.GetFieldCaption(DictionaryKey(kTitle), "xb"), "xb");
    // Only the physical table known (list maintenance): its rows, then the public ones.
    EXPECT_EQ(dict.GetFieldCaption(DictionaryKey::forTable(kTable), "bh"), "表里的编号");
    EXPECT_EQ(dict.GetFieldCaption(DictionaryKey::forTable(kTable), "dz"), "地址");
}

TEST_P(Captions, CaptionMapListsTheKeysOwnDifferingCaptions)
{
    FieldDictionary dict(db());
    const QList<FieldText> map = dict.GetCaptionMap(DictionaryKey(kTitle, kTable));
    const QList<FieldText> expected = {{"bh", "编号"}, {"kh", "考号"}, {"xb", "性别"}};
    EXPECT_EQ(map, expected);
}

TEST_P(Captions, BrowseModeAnswersFieldNamesWithoutQuerying)
{
    Query::run(db(), "DROP TABLE usys_dict"); // a browsed database has no catalog
    db().state().browseMode = true;
    FieldDictionary dict(db());
    EXPECT_EQ(dict.GetFieldCaption(DictionaryKey(kTitle), "bh"), "bh");
    EXPECT_EQ(dict.GetGridTitle(DictionaryKey(kTitle), " bh "), "bh");
    EXPECT_TRUE(dict.GetRequiredFields(DictionaryKey(kTitle), FieldList()).names.isEmpty());
    EXPECT_FALSE(dict.HasReminders());
}

TEST_P(Captions, QuietLookupsSwallowFailuresTheOthersReportThem)
{
    Query::run(db(), "DROP TABLE usys_dict");
    FieldDictionary dict(db());
    const DictionaryKey key(kTitle);
    EXPECT_EQ(dict.GetFieldCaption(key, "bh"), "bh");
    EXPECT_TRUE(dict.GetFieldInputInfo(key, "bh").choices.isEmpty());
    EXPECT_FALSE(dict.GetFooterFlags(key).sum);
    EXPECT_FALSE(dict.HasStatisticsFields(key));
    EXPECT_FALSE(dict.IsDocumentField(key, "bh"));
    EXPECT_FALSE(dict.HasReminders());
    EXPECT_THROW(dict.GetRequiredFields(key, FieldList()), DbError);
    EXPECT_THROW(dict.GetGridTitle(key, "bh"), DbError);
    EXPECT_THROW(dict.HasChoiceLists(key), DbError);
}

VEK_BOTH_ENGINES(Captions);

class Rules : public DictionaryTest {};

TEST_P(Rules, RequiredUniqueAutoAddWithPublicAttributes)
{
    row(kTitle, "bh", {{"IsNull", false}, {"isUnique", true}, {"Cfield", "  "}});
    row(kTitle, "xm", {{"IsNull", true}, {"Cfield", "姓名"}});
    row(kTitle, "rq", {{"AutoAdd", true}});
    row(nullText(), "bh", {{"IsNull", true}, {"Cfield", "编号"}}); // public: required everywhere bh exists
    row(QString(""), "xh", {{"IsNull", true}, {"AutoAdd", true}, {"isUnique", true}});
    row(nullText(), "b", {{"IsNull", true}});
    row(QString("其他资源"), "dh", {{"IsNull", true}, {"isUnique", true}});
    FieldDictionary dict(db());
    const DictionaryKey key(kTitle);

    const RequiredFields req = dict.GetRequiredFields(key, FieldList(QStringLiteral("BH,xm,rq,xh")));
    EXPECT_EQ(req.names, (QStringList{"BH", "xm", "xh"}));
    // A blank caption on the resource's row: the public row's caption, else the name.
    EXPECT_EQ(req.captions, (QStringList{"编号", "姓名", "xh"}));
    EXPECT_EQ(dict.GetUniqueFields(key, FieldList(QStringLiteral("bh,xh,dh"))), (QStringList{"bh", "xh"}));
    EXPECT_EQ(dict.GetAutoAddFields(key, FieldList(QStringLiteral("rq,xh,bh"))), (QStringList{"rq", "xh"}));

    // A resource without the field ignores the public row; "*" admits every field.
    EXPECT_TRUE(dict.GetRequiredFields(key, FieldList(QStringLiteral("rq,zz"))).names.isEmpty());
    EXPECT_EQ(dict.GetRequiredFields(key, FieldList(QStringLiteral("*"))).names, (QStringList{"bh", "xm", "xh", "b"}));
    // Another resource gets only the public rules.
    EXPECT_EQ(dict.GetRequiredFields(DictionaryKey("别的"), FieldList()).names, (QStringList{"bh", "xh", "b"}));
}

TEST_P(Rules, DefaultsOnePerFieldTheResourcesOwnFirst)
{
    row(nullText(), "xb", {{"DefaultValue", "女"}});
    row(kTitle, "xb", {{"DefaultValue", " 男 "}});
    row(kTitle, "lr", {{"DefaultValue", "userid"}});
    row(kTitle, "rq", {{"DefaultValue", "DATE"}});
    row(kTitle, "kb", {{"DefaultValue", "  "}});
    row(kTable, "kb", {{"DefaultValue", "表默认"}});
    row(QString(""), "bj", {{"DefaultValue", "一班"}});
    FieldDictionary dict(db());
    const QList<FieldText> defaults =
        dict.GetDefaultValues(DictionaryKey(kTitle, kTable), FieldList(QStringLiteral("xb,lr,rq,kb,bj")), "zhang");
    const QList<FieldText> expected = {
        {"xb", "男"}, {"lr", "zhang"}, {"rq", "DATE"}, {"kb", "表默认"}, {"bj", "一班"}};
    EXPECT_EQ(defaults, expected);
    EXPECT_TRUE(dict.GetDefaultValues(DictionaryKey(kTitle), FieldList(QStringLiteral("zz")), "zhang").isEmpty());
}

TEST_P(Rules, RowPresence)
{
    row(kTable, "bh", {});
    row(nullText(), "dz", {});
    FieldDictionary dict(db());
    EXPECT_FALSE(dict.HasDictionaryRows(DictionaryKey(kTitle)));
    EXPECT_TRUE(dict.HasDictionaryRows(DictionaryKey(kTitle, kTable)));
    EXPECT_TRUE(dict.HasFieldRow(DictionaryKey(kTitle, kTable), "BH"));
    EXPECT_TRUE(dict.HasFieldRow(DictionaryKey(kTitle), "dz"));
    EXPECT_FALSE(dict.HasFieldRow(DictionaryKey(kTitle), "bh"));
}

VEK_BOTH_ENGINES(Rules);

class KeyLookups : public DictionaryTest {};

TEST_P(KeyLookups, FootersStatisticsAndFlagsReadTheKeysOwnRows)
{
    row(kTitle, "je", {{"fvtSum", true}, {"fvtAvg", true}, {"Cfield", "金额"}, {"CountFlag", true}});
    row(kTitle, "sl", {{"fvtCount", true}});
    row(kTable, "sl", {{"fvtSum", true}});
    row(kTitle, "rq", {{"CountFlag", true}, {"Type", "日期时间"}, {"Range", "上午\r\n下午"}});
    row(kTitle, "rq2", {{"CountFlag", true}, {"Type", "日期时间"}});
    row(kTitle, "xb", {{"Range", " "}, {"FromTable", " "}});
    row(nullText(), "gz", {{"fvtAvg", true}, {"CountFlag", true}, {"Range", "a"}, {"FromTable", "t"}});
    FieldDictionary dict(db());
    const DictionaryKey key(kTitle, kTable);

    const FooterFields f = dict.GetFooterFields(key);
    EXPECT_EQ(f.sum, (QStringList{"je", "sl"}));
    EXPECT_EQ(f.average, (QStringList{"je"}));
    EXPECT_EQ(f.count, (QStringList{"sl"}));
    const FooterFlags flags = dict.GetFooterFlags(DictionaryKey(kTitle));
    EXPECT_TRUE(flags.sum);
    EXPECT_TRUE(flags.average);
    EXPECT_TRUE(flags.count);

    const StatisticsFields st = dict.GetStatisticsFields(key);
    EXPECT_EQ(st.names, (QStringList{"je", "rq", "rq2"}));
    EXPECT_EQ(st.captions, (QStringList{"金额", "rq", "rq2"}));
    EXPECT_EQ(dict.GetStatisticsDateFields(key), (QStringList{"rq"}));
    EXPECT_TRUE(dict.HasStatisticsFields(key));
    EXPECT_TRUE(dict.HasChoiceLists(key));
    EXPECT_FALSE(dict.HasLookupFields(key)); // a blank FromTable is none

    // Public rows alone give a resource neither footers nor statistics nor lists.
    const DictionaryKey other(QStringLiteral("别的"));
    EXPECT_FALSE(dict.GetFooterFlags(other).average);
    EXPECT_FALSE(dict.HasStatisticsFields(other));
    EXPECT_FALSE(dict.HasChoiceLists(other));
    EXPECT_FALSE(dict.HasLookupFields(other));
}

TEST_P(KeyLookups, RemindersJoinResourceTitles)
{
    FieldDictionary dict(db());
    EXPECT_FALSE(dict.HasReminders());
    row(QString("生日提醒"), "csrq", {{"Event", true}, {"EventName", "生日"}});
    EXPECT_FALSE(dict.HasReminders()); // no such resource
    Query::run(db(), "INSERT INTO usys_system (AppTitle, Flag) VALUES (:HostTitle, '1')", {{":HostTitle", "生日提醒"}});
    row(kTitle, "rq", {{"Event", false}});
    EXPECT_TRUE(dict.HasReminders());
    Query::run(db(), "UPDATE usys_dict SET " + db().dialect().quoteIdent("Event") + " = :HostOff",
               {{":HostOff", false}});
    EXPECT_FALSE(dict.HasReminders());
}

TEST_P(KeyLookups, DocumentFieldsAndLookupPairs)
{
    row(kTitle, "fj", {{"DocFile", true}});
    row(nullText(), "wz", {{"DocFile", true}});
    row(kTitle, "bj", {{"IsDefine", 0}, {"FromTable", " t_class "}, {"FromFieldName", "code , name"}});
    row(kTitle, "xb", {{"IsDefine", 0}, {"FromTable", "t_sex"}, {"FromFieldName", "name"},
                       {"FromTableSQL", "select name from t_sex"}});
    FieldDictionary dict(db());
    const DictionaryKey key(kTitle);
    EXPECT_TRUE(dict.IsDocumentField(key, "FJ"));
    EXPECT_TRUE(dict.IsDocumentField(key, "wz"));
    EXPECT_FALSE(dict.IsDocumentField(key, "bj"));

    const auto pair = dict.GetLookupPair(key, "bj");
    ASSERT_TRUE(pair.has_value());
    EXPECT_EQ(pair->table, "t_class");
    EXPECT_EQ(pair->codeColumn, "code");
    EXPECT_EQ(pair->nameColumn, "name");
    EXPECT_FALSE(dict.GetLookupPair(key, "xb").has_value()); // one column only

    const auto source = dict.GetLookupSource(key, "xb");
    ASSERT_TRUE(source.has_value());
    EXPECT_EQ(source->fromTable, "t_sex");
    EXPECT_EQ(source->fromTableSql, "select name from t_sex");
    EXPECT_FALSE(dict.GetLookupSource(key, "fj").has_value());
}

VEK_BOTH_ENGINES(KeyLookups);
