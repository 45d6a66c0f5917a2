#include "DictionaryFixture.h"

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

VEK_BOTH_ENGINES(Writer);
