#include "DictionaryFixture.h"

#include "dictionary/FieldDictionary.h"
#include "dictionary/LookupList.h"
#include "platform/StoredStatement.h"
#include "platform/DbError.h"

#include <QSqlField>

using namespace vek;
using vek::test::DictionaryTest;
using vek::test::nullText;

namespace {

const QString kTitle = QStringLiteral("班级's 名册");

} // namespace

TEST(LookupTail, WhereClauseUpToOrderBy)
{
    struct Case {
        const char *select;
        const char *tail;
    } cases[] = {
        {"select * from t_class where grade='1' Order by code", "where grade='1'"},
        {"SELECT a FROM t WHERE b=1 ORDER BY a", "WHERE b=1"},
        {"select * from t\nwhere\ta=1\norder  by a", "where\ta=1"},
        {"select * from t where x='order by' order by y", "where x='order by'"},
        {"select * from t where a=1", "where a=1"},
        {"select somewhere from t", ""},
        {"select * from t", ""},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LookupList::whereTail(QString::fromUtf8(c.select)), QString::fromUtf8(c.tail)) << c.select;
}

TEST(LookupTail, CodeLinesPadToTheStorageWidth)
{
    EXPECT_EQ(LookupList::codeLine("01", "一班", 5), "01   |一班");
    EXPECT_EQ(LookupList::codeLine("一", "x", 5), "一   |x"); // a hanzi takes two places
    EXPECT_EQ(LookupList::codeLine("abcdef", "x", 5), "abcdef|x");
}

TEST(StoredStatements, OneStatementOnly)
{
    struct Case {
        const char *text;
        bool single;
    } cases[] = {
        {"select * from t where a = 'x;y'", true},
        {"select * from t where a = 1;  ", true},
        {"select \"a;b\" from t -- comment; here", true},
        {"select * from t; delete from t", false},
        {"select * from t /* ' */; delete from t", false},
        {"select $$'$$; delete from t", false},
        {"select * from t where a = 'open", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StoredStatement::isSingle(QString::fromUtf8(c.text)), c.single) << c.text;
    EXPECT_EQ(StoredStatement::single("select 1 ;"), "select 1");
    EXPECT_THROW(StoredStatement::single("select 1; select 2"), DbError);
}

class InputInfo : public DictionaryTest {
protected:
    void SetUp() override
    {
        DictionaryTest::SetUp();
        if (IsSkipped())
            return;
        Query::run(db(), "CREATE TABLE t_class (code varchar(4), name varchar(20), grade varchar(2))");
        const char *rows[][3] = {{"01", "一班", "1"}, {"a1", "甲", "1"}, {"A1", "乙", "1"}, {"02", "二班", "2"}};
        for (const auto &r : rows)
            Query::run(db(), "INSERT INTO t_class (code, name, grade) VALUES (:HostCode, :HostName, :HostGrade)",
                       {{":HostCode", r[0]}, {":HostName", r[1]}, {":HostGrade", r[2]}});
    }
};

TEST_P(InputInfo, ChoicesRangesAndTheirOptions)
{
    const QString classSql = "select * from t_class where grade='1' Order by code";
    row(kTitle, "bj", {{"IsDefine", 0}, {"FromTable", "t_class"}, {"FromFieldName", "code,name"},
                       {"FromTableSQL", classSql}, {"choosegrid", true}, {"Radio", true}, {"ChooseInput", true}});
    row(kTitle, "bj2", {{"IsDefine", 0}, {"FromTable", "T_CLASS"}, {"FromFieldName", " name "},
                        {"FromTableSQL", "SELECT * FROM t_class WHERE grade='2'"}});
    row(kTitle, "bad", {{"IsDefine", 0}, {"FromTable", "no_such"}, {"FromFieldName", "name"}, {"ChooseInput", true}});
    row(kTitle, "badtail", {{"IsDefine", 0}, {"FromTable", "t_class"}, {"FromFieldName", "name"},
                            {"FromTableSQL", "select * from t_class where nosuch = 1"}});
    row(kTitle, "evil", {{"IsDefine", 0}, {"FromTable", "t_class"}, {"FromFieldName", "name"},
                         {"FromTableSQL", "select * from t_class where grade='1'; delete from t_class"}});
    row(kTitle, "xb", {{"IsDefine", 1}, {"Range", " 男\r\n女 \r\n"}, {"Radio", true}, {"ChooseInput", true}});
    row(kTitle, "cj", {{"IsDefine", 2}, {"Minvalue", 10.0}, {"Maxvalue", 5.0}, {"ChooseInput", true}});
    row(kTitle, "fs", {{"IsDefine", 2}, {"Minvalue", 0.0}, {"Maxvalue", 100.0}, {"Radio", true}});
    // A title row without a list (as made from a table's structure) lets the public list through.
    row(kTitle, "mz", {{"IsDefine", 1}, {"Range", ""}, {"readonly", true}});
    row(QString(""), "mz", {{"IsDefine", 1}, {"Range", "汉\n回"}});
    row(nullText(), "zz", {{"IsDefine", 1}, {"Range", "党员\r\n团员"}});
    FieldDictionary dict(db());
    const DictionaryKey key(kTitle);

    struct Case {
        const char *field;
        QStringList choices;
        bool lookup, chooseOnly, asRadio;
        double min, max;
    } cases[] = {
        {"bj", {"列表选择...", "01   |一班", "a1   |甲"}, true, true, true, 0, 0}, // A1 repeats a1
        {"bj2", {"二班"}, true, false, false, 0, 0},
        {"bad", {}, false, true, false, 0, 0},
        {"badtail", {}, false, false, false, 0, 0},
        {"evil", {}, false, false, false, 0, 0}, // a second statement in the stored text
        {"xb", {"男", "女"}, false, true, true, 0, 0},
        {"cj", {}, false, false, false, 0, 0}, // minimum above maximum: no range
        {"fs", {}, false, false, false, 0, 100}, // radio buttons are for lists only
        {"mz", {"汉", "回"}, false, false, false, 0, 0},
        {"zz", {"党员", "团员"}, false, false, false, 0, 0},
        {"none", {}, false, false, false, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.field);
        const FieldInputInfo info = dict.GetFieldInputInfo(key, c.field);
        EXPECT_EQ(info.choices, c.choices);
        EXPECT_EQ(info.lookup, c.lookup);
        EXPECT_EQ(info.chooseOnly, c.chooseOnly);
        EXPECT_EQ(info.asRadio, c.asRadio);
        EXPECT_EQ(info.minValue, c.min);
        EXPECT_EQ(info.maxValue, c.max);
        EXPECT_EQ(info.hasRange(), c.max > c.min);
        EXPECT_EQ(info.readOnly, QString(c.field) == "mz");
    }
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM t_class").toInt(), 4);
    EXPECT_EQ(dict.GetFieldRange(key, "MZ"), (QStringList{"汉", "回"}));
    EXPECT_EQ(dict.GetFieldRange(key, "xb"), (QStringList{"男", "女"}));
}

TEST_P(InputInfo, FillFromLookupCopiesTheRowButNotItsStamps)
{
    const SqlDialect &d = db().dialect();
    Query::run(db(), "CREATE TABLE t_person (id " + d.identityPrimaryKey()
                         + ", name varchar(20), dept varchar(20), UserID varchar(16), extra varchar(10))");
    Query::run(db(), "INSERT INTO t_person (name, dept, UserID, extra) VALUES ('张三', '教务处', 'other', 'x')");
    QSqlRecord target;
    for (const char *f : {"id", "NAME", "dept", "userid"})
        target.append(QSqlField(f, QMetaType(QMetaType::QString)));
    target.setValue("id", 99);
    target.setValue("userid", "me");

    FieldDictionary dict(db());
    ASSERT_TRUE(dict.FillFromLookup("T_PERSON", "Name", QString("张三"), target));
    EXPECT_EQ(target.value("dept").toString(), "教务处");
    EXPECT_EQ(target.value("NAME").toString(), "张三");
    EXPECT_EQ(target.value("id").toInt(), 99);           // auto number not copied
    EXPECT_EQ(target.value("userid").toString(), "me");  // owner stamp kept
    EXPECT_FALSE(target.contains("extra"));

    target.setValue("dept", "keep");
    EXPECT_FALSE(dict.FillFromLookup("t_person", "name", QString("nobody"), target));
    EXPECT_EQ(target.value("dept").toString(), "keep");
    EXPECT_THROW(dict.FillFromLookup("no_such", "name", QString("x"), target), DbError);
    EXPECT_THROW(dict.FillFromLookup("t_person", "no_col", QString("x"), target), DbError);
}

TEST_P(InputInfo, DisplayFormatsOfNumericColumns)
{
    const SqlDialect &d = db().dialect();
    Query::run(db(), "CREATE TABLE t_nums (i integer, s smallint, f " + d.floatType()
                         + ", m numeric(19,4), b bigint, t varchar(10), y " + d.bitType() + ", g integer)");
    row(kTitle, "i", {{"DisplayFormat", "123,456,789$"}, {"Digit", "2"}});
    row(kTitle, "f", {{"DisplayFormat", "￥123,456,789"}, {"Digit", "2"}});
    row(QString("t_nums"), "s", {{"DisplayFormat", "0.000"}});
    row(kTitle, "m", {{"DisplayFormat", " "}, {"Digit", "3"}});
    row(QString("t_nums"), "m", {{"DisplayFormat", "$123,456,789"}, {"Digit", "x"}}); // not a number: no decimals
    row(kTitle, "b", {{"DisplayFormat", "0.0"}});
    row(kTitle, "t", {{"DisplayFormat", "0.0"}});
    row(kTitle, "y", {{"DisplayFormat", "0.0"}});
    row(nullText(), "g", {{"DisplayFormat", "#,##0"}});
    FieldDictionary dict(db());
    const QMap<QString, QString> formats =
        dict.ApplyDisplayFormats(DictionaryKey(kTitle, "t_nums"), db().columns("t_nums"));
    const QMap<QString, QString> expected = {{"i", "###,###,###.##$"}, {"f", "￥###,###,###"}, {"s", "0.000"},
                                             {"m", "$###,###,###"},    {"g", "#,##0"}};
    EXPECT_EQ(formats, expected);
}

VEK_BOTH_ENGINES(InputInfo);
