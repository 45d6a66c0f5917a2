#include "DictionaryFixture.h"

#include "dictionary/DemoDictionary.h"
#include "dictionary/FieldDictionary.h"
#include "platform/DbError.h"

using namespace vek;
using vek::test::DictionaryTest;

class Demo : public DictionaryTest {};

TEST_P(Demo, DemoResourceAnswersEveryKindOfLookup)
{
    const SqlDialect &d = db().dialect();
    Query::run(db(), "CREATE TABLE " + d.quoteIdent("学生档案") + " (" + d.quoteIdent("编号")
                         + " varchar(10) PRIMARY KEY, " + d.quoteIdent("姓名") + " varchar(20), " + d.quoteIdent("性别")
                         + " varchar(2), " + d.quoteIdent("出生日期") + " date, " + d.quoteIdent("班级")
                         + " varchar(20), " + d.quoteIdent("入学成绩") + " " + d.floatType() + ", "
                         + d.quoteIdent("当前状态") + " varchar(10), " + d.quoteIdent("个人主页") + " varchar(100))");
    AddDemoDictionary(db());
    AddDemoDictionary(db()); // a second run replaces, it does not add

    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM usys_dict WHERE TableName = :HostT", {{":HostT", "学生档案"}}).toInt(), 8);
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM usys_dict WHERE TableName = :HostT", {{":HostT", "成绩流水"}}).toInt(), 6);
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM " + d.quoteIdent("班级代码")).toInt(), 6);
    EXPECT_EQ(Query::scalar(db(), "SELECT FieldSize FROM usys_dict WHERE EField = :HostF", {{":HostF", "编号"}}).toInt(),
              10);
    EXPECT_EQ(Query::scalar(db(), "SELECT FieldSize FROM usys_dict WHERE EField = :HostF", {{":HostF", "个人主页"}}).toInt(),
              100);
    EXPECT_EQ(Query::scalar(db(), "SELECT " + d.quoteIdent("Type") + " FROM usys_dict WHERE EField = :HostF",
                            {{":HostF", "出生日期"}}).toString(), "日期");

    FieldDictionary dict(db());
    const DictionaryKey key("学生档案", "学生档案");
    const FieldList fields(QStringLiteral("编号,姓名,性别,出生日期,班级,入学成绩,当前状态,个人主页"));
    EXPECT_EQ(dict.GetFieldCaption(key, "编号"), "学号");
    const FieldInputInfo sex = dict.GetFieldInputInfo(key, "性别");
    EXPECT_EQ(sex.choices, (QStringList{"男", "女"}));
    EXPECT_TRUE(sex.chooseOnly);
    const FieldInputInfo cls = dict.GetFieldInputInfo(key, "班级");
    EXPECT_TRUE(cls.lookup);
    EXPECT_EQ(cls.choices,
              (QStringList{"初一(1)班", "初一(2)班", "初二(1)班", "初二(2)班", "初三(1)班", "初三(2)班"}));
    EXPECT_EQ(dict.GetDefaultValues(key, fields, "admin"), (QList<FieldText>{{"性别", "男"}, {"当前状态", "在读"}}));
    EXPECT_EQ(dict.GetRequiredFields(key, fields).names, (QStringList{"编号"}));
    EXPECT_EQ(dict.GetRequiredFields(key, fields).captions, (QStringList{"学号"}));
    EXPECT_EQ(dict.GetUniqueFields(key, fields), (QStringList{"编号"}));
    EXPECT_EQ(dict.ApplyDisplayFormats(key, db().columns("学生档案")), (QMap<QString, QString>{{"入学成绩", "0.0"}}));
    const FooterFlags flags = dict.GetFooterFlags(key);
    EXPECT_TRUE(flags.sum && flags.average && flags.count);
    const FooterFields footers = dict.GetFooterFields(key);
    EXPECT_EQ(footers.sum, (QStringList{"入学成绩"}));
    EXPECT_EQ(footers.average, (QStringList{"入学成绩"}));
    EXPECT_EQ(footers.count, (QStringList{"入学成绩"}));
    EXPECT_TRUE(dict.IsDocumentField(key, "个人主页"));
    EXPECT_FALSE(dict.IsDocumentField(key, "班级"));
    EXPECT_EQ(dict.GetStatisticsFields(key).names, (QStringList{"性别"}));
    EXPECT_TRUE(dict.HasChoiceLists(key));
    EXPECT_TRUE(dict.HasLookupFields(key));

    // The score log's rows are its own: they add nothing to the students' footers.
    const DictionaryKey scores("成绩流水", "成绩流水");
    EXPECT_EQ(dict.GetFooterFields(scores).sum, (QStringList{"成绩"}));
    EXPECT_EQ(dict.GetFieldCaption(scores, "学号"), "学号");
    EXPECT_FALSE(dict.IsDocumentField(scores, "个人主页"));
}

TEST_P(Demo, AllOrNothing)
{
    Query::run(db(), "DROP TABLE usys_dict");
    EXPECT_THROW(AddDemoDictionary(db()), DbError);
    EXPECT_FALSE(db().tableExists("班级代码"));
}

VEK_BOTH_ENGINES(Demo);
