#include "DictionaryFixture.h"

#include "dictionary/DemoDictionary.h"
#include "dictionary/DictionaryWriter.h"
#include "dictionary/FieldDictionary.h"
#include "platform/DbError.h"

using namespace vek;
using vek::test::DictionaryTest;

class Writer : public DictionaryTest {};

TEST_P(Writer, FillFromTableGivesTextColumnsAListRow)
{
    Query::run(db(), "CREATE TABLE t_w (code varchar(4), name varchar(20), note text, n integer, d date)");
    row(QString("T_W"), "name", {{"Range", "甲\r\n乙"}});
    DictionaryWriter writer(db());
    EXPECT_EQ(writer.FillDictionaryFromTable("t_W"), 1); // name has its row already

    Query q(db(), "SELECT TableName, EField, IsDefine, " + db().dialect().quoteIdent("Type") + ", "
                      + db().dialect().quoteIdent("IsNull") + ", ChooseInput, CountFlag, Range FROM usys_dict ORDER BY id");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(1).toString(), "name");
    EXPECT_EQ(q.value(7).toString(), "甲\r\n乙");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), "t_w");
    EXPECT_EQ(q.value(1).toString(), "code");
    EXPECT_EQ(q.value(2).toInt(), 1);
    EXPECT_TRUE(q.value(3).toString().isEmpty()); // the list window knows these rows by it
    EXPECT_FALSE(q.value(4).isNull());
    EXPECT_FALSE(q.value(4).toBool());
    EXPECT_FALSE(q.value(5).toBool());
    EXPECT_FALSE(q.value(6).toBool());
    EXPECT_FALSE(q.next());

    EXPECT_EQ(writer.FillDictionaryFromTable("t_w"), 0);
    EXPECT_THROW(writer.FillDictionaryFromTable("no_such"), DbError);
}

TEST_P(Writer, TypeNames)
{
    const SqlDialect &d = db().dialect();
    Query::run(db(), "CREATE TABLE t_k (id " + d.identityPrimaryKey() + ", a varchar(5), b text, c integer, e "
                         + d.floatType() + ", f numeric(19,4), g " + d.bitType() + ", h date, i "
                         + d.dateTimeType() + ", j time)");
    QStringList names;
    for (const ColumnInfo &c : db().columns("t_k"))
        names << DictionaryWriter::TypeNameFor(c);
    const QString currency = db().engine() == Engine::Sqlite ? "货币" : "浮点"; // the server reports plain numeric
    EXPECT_EQ(names, (QStringList{"自动", "字符", "文本", "整数", "浮点", currency, "逻辑", "日期", "日期时间", "时间"}));
}

class Demo : public DictionaryTest {};

TEST_P(Demo, DemoResourceAnswersEveryKindOfLookup)
{
    const SqlDialect &d = db().dialect();
    Query::run(db(), "CREATE TABLE " + d.quoteIdent("学生档案") + " (" + d.quoteIdent("编号")
                         + " varchar(10) PRIMARY KEY, " + d.quoteIdent("姓名") + " varchar(20), " + d.quoteIdent("性别")
                         + " varchar(2), " + d.quoteIdent("出生日期") + " date, " + d.quoteIdent("班级")
                         + " varchar(20), " + d.quoteIdent("入学成绩") + " " + d.floatType() + ")");
    AddDemoDictionary(db());
    AddDemoDictionary(db()); // a second run replaces, it does not add

    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM usys_dict").toInt(), 6);
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM " + d.quoteIdent("班级代码")).toInt(), 4);
    EXPECT_EQ(Query::scalar(db(), "SELECT FieldSize FROM usys_dict WHERE EField = :HostF", {{":HostF", "编号"}}).toInt(),
              10);
    EXPECT_EQ(Query::scalar(db(), "SELECT " + d.quoteIdent("Type") + " FROM usys_dict WHERE EField = :HostF",
                            {{":HostF", "出生日期"}}).toString(), "日期");

    FieldDictionary dict(db());
    const DictionaryKey key("学生档案", "学生档案");
    const FieldList fields(QStringLiteral("编号,姓名,性别,出生日期,班级,入学成绩"));
    EXPECT_EQ(dict.GetFieldCaption(key, "编号"), "学号");
    const FieldInputInfo sex = dict.GetFieldInputInfo(key, "性别");
    EXPECT_EQ(sex.choices, (QStringList{"男", "女"}));
    EXPECT_TRUE(sex.chooseOnly);
    const FieldInputInfo cls = dict.GetFieldInputInfo(key, "班级");
    EXPECT_TRUE(cls.lookup);
    EXPECT_EQ(cls.choices, (QStringList{"初一(1)班", "初一(2)班", "初二(1)班", "初二(2)班"}));
    EXPECT_EQ(dict.GetDefaultValues(key, fields, "admin"), (QList<FieldText>{{"性别", "男"}}));
    EXPECT_EQ(dict.GetRequiredFields(key, fields).names, (QStringList{"编号"}));
    EXPECT_EQ(dict.GetRequiredFields(key, fields).captions, (QStringList{"学号"}));
    EXPECT_EQ(dict.GetUniqueFields(key, fields), (QStringList{"编号"}));
    EXPECT_EQ(dict.ApplyDisplayFormats(key, db().columns("学生档案")), (QMap<QString, QString>{{"入学成绩", "0.0"}}));
    const FooterFields footers = dict.GetFooterFields(key);
    EXPECT_EQ(footers.sum, (QStringList{"入学成绩"}));
    EXPECT_EQ(footers.average, (QStringList{"入学成绩"}));
    EXPECT_TRUE(footers.count.isEmpty());
    EXPECT_EQ(dict.GetStatisticsFields(key).names, (QStringList{"性别"}));
    EXPECT_TRUE(dict.HasChoiceLists(key));
    EXPECT_TRUE(dict.HasLookupFields(key));
}

TEST_P(Demo, AllOrNothing)
{
    Query::run(db(), "DROP TABLE usys_dict");
    EXPECT_THROW(AddDemoDictionary(db()), DbError);
    EXPECT_FALSE(db().tableExists("班级代码"));
}

VEK_BOTH_ENGINES(Writer);
VEK_BOTH_ENGINES(Demo);
