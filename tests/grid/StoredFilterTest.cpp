#include "grid/StoredFilter.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/RecordSet.h"
#include "support/TestSupport.h"

#include <QDate>

using namespace vek;
using vek::test::EngineTest;

TEST(StoredFilterValues, NumbersAndDatesAsTypedAndStored)
{
    EXPECT_EQ(ReadNumberText(" -3.5 "), -3.5);
    EXPECT_EQ(ReadNumberText("1e3"), 1000.0);
    for (const char *bad : {"", "abc", "1,5", "inf", "nan", "5元", "--1"})
        EXPECT_FALSE(ReadNumberText(bad).has_value()) << bad;
    EXPECT_EQ(ReadDateText("2026-03-04"), QDate(2026, 3, 4));
    EXPECT_EQ(ReadDateText("2026/3/4"), QDate(2026, 3, 4));
    EXPECT_EQ(ReadDateText("3/4/2026"), QDate(2026, 3, 4)) << "month first, as the old engine stored it";
    for (const char *bad : {"2026-02-30", "2026-13-01", "today", "20260304"})
        EXPECT_FALSE(ReadDateText(bad).has_value()) << bad;
    EXPECT_EQ(ReadDateTimeText("2026-03-04 7:05"), QDateTime(QDate(2026, 3, 4), QTime(7, 5)));
    EXPECT_EQ(ReadDateTimeText("2026-03-04T07:05:09"), QDateTime(QDate(2026, 3, 4), QTime(7, 5, 9)));
    EXPECT_FALSE(ReadDateTimeText("2026-03-04 25:00").has_value());
}

class StoredFilterOnEngine : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        Query::run(db(), "CREATE TABLE " + d.quoteIdent("档案") + " (id integer PRIMARY KEY, " + d.quoteIdent("姓名")
                             + " varchar(20), " + d.quoteIdent("部门") + " varchar(20), " + d.quoteIdent("生日") + ' '
                             + d.dateType() + ", " + d.quoteIdent("分数") + ' ' + d.floatType() + ", "
                             + d.quoteIdent("在职") + ' ' + d.bitType() + ", " + d.quoteIdent("UserID") + " varchar(20))");
        struct Row {
            const char *name;
            const char *dept;
            QDate born;
            QVariant score;
            bool active;
            const char *user;
        };
        const Row rows[] = {{"O'Brien", "销售", QDate(1990, 3, 4), 80.5, true, "admin"},
                            {"张三", "销售", QDate(2001, 12, 25), 59, false, "zhang"},
                            {"李四", "财务", QDate(1985, 3, 9), QVariant(), true, "admin"},
                            {"王is五", "", QDate(), 100, true, "li"},
                            {"赵六", "", QDate(2000, 1, 1), 70, false, "zhang"}};
        int id = 0; // 赵六 (id 5) has no department at all, 王is五 (id 4) an empty one
        for (const Row &r : rows)
            Query::run(db(),
                       "INSERT INTO " + d.quoteIdent("档案")
                           + " VALUES (:HostId, :HostName, :HostDept, :HostBorn, :HostScore, :HostActive, :HostUser)",
                       {{":HostId", ++id},
                        {":HostName", r.name},
                        {":HostDept", id == 5 ? QVariant() : QVariant(r.dept)},
                        {":HostBorn", r.born.isValid() ? QVariant(r.born) : QVariant()},
                        {":HostScore", r.score},
                        {":HostActive", r.active},
                        {":HostUser", r.user}});
    }

    QList<int> ids(const QString &text, const QVariantMap &binds = {})
    {
        const Condition c = ReadStoredFilter(db().dialect(), text, binds, QDate(2026, 3, 4));
        RecordSet rs(db());
        rs.open("档案", {}, c.sql(), c.binds(), "id");
        QList<int> out;
        for (int i = 0; i < rs.rowCount(); ++i)
            out << rs.valueAt(i, "id").toInt();
        return out;
    }
};

TEST_P(StoredFilterOnEngine, ReadsTheStoredForms)
{
    const struct {
        const char *text;
        QList<int> expected;
    } cases[] = {
        {"", {1, 2, 3, 4, 5}},
        {"  where  ", {1, 2, 3, 4, 5}},
        {"[部门]='销售'", {1, 2}},
        {"where 部门 = \"财务\"", {3}},
        {"姓名='O''Brien'", {1}},
        {"[分数] >= 70 and [分数] < 100", {1, 5}},
        {"分数 > -1 AND NOT (分数 = 59)", {1, 4, 5}},
        {"[分数] != 59 or 分数 is null", {1, 3, 4, 5}},
        {"[部门] = null", {5}},
        {"[部门] <> NULL", {1, 2, 3, 4}},
        {"[部门] IS NULL", {5}},
        {"[部门] is not null and [部门] IS '销售'", {1, 2}},
        {"[姓名] = '王is五'", {4}},
        {"[姓名] IS NOT '张三' and 部门 is not null", {1, 3, 4}},
        {"[生日] = #1990-03-04#", {1}},
        {"[生日] > #12/1/2000# and 生日 < #2001/12/31#", {2}},
        {"生日 between #1985-01-01# and #1990-12-31#", {1, 3}},
        {"分数 not between 60 and 90", {2, 4}},
        {"部门 in ('财务', '')", {3, 4}},
        {"部门 = ''", {4}},
        {"部门 NOT IN ('财务')", {1, 2, 4}},
        {"姓名 like '张*'", {2}},
        {"姓名 LIKE '?四'", {3}},
        {"姓名 like '%is%'", {4}},
        {"姓名 like 'o''b*'", {1}},
        {"姓名 not like '*i*'", {2, 3, 5}},
        {"在职 = true", {1, 3, 4}},
        {"[在职]=false and (部门='销售' or 部门 is null)", {2, 5}},
        {"true", {1, 2, 3, 4, 5}},
        {"month(生日) = 3 and day([生日]) = 4", {1}},
        {"year(生日) < 1991", {1, 3}},
        {"month(生日) = month(now())", {1, 3}},
        {"month(生日)=month(date()) and 1 = 1", {1, 3}},
        {"(((部门 = '销售')))", {1, 2}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ids(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST_P(StoredFilterOnEngine, PlaceholdersTakeTheirValuesFromBinds)
{
    // As the shell prepares it: the current user and today bound, nothing pasted.
    const QVariantMap binds{{":HostCurrentUser", "zhang"}, {":HostNow0", QDate(2001, 12, 25)}};
    EXPECT_EQ(ids("UserID=:HostCurrentUser", binds), (QList<int>{2, 5}));
    EXPECT_EQ(ids("[UserID] = :HostCurrentUser and 生日 = :HostNow0", binds), QList<int>{2});
    EXPECT_EQ(ids("UserID = :HostCurrentUser", {{":HostCurrentUser", "x' or '1'='1"}}), QList<int>{});
    EXPECT_THROW(ids("UserID = :HostOther", binds), DbError);
}

TEST_P(StoredFilterOnEngine, UnreadableTextIsRefusedNeverRunUnfiltered)
{
    const char *bad[] = {
        "部门='销售'; DELETE FROM 档案",
        "部门='销售' -- ",
        "部门='销售",
        "[部门='销售'",
        "生日 = #2026-02-30#",
        "left(姓名, 1) = '张'",
        "部门 = '销售' and",
        "部门",
        "部门 = '销售' 姓名 = 'x'",
        "分数 > null",
        "分数 + 1 > 2",
        "姓名 like 部门",
        "本周生日,生日",
        "[a\"b] = 1",
    };
    for (const char *text : bad) {
        try {
            ReadStoredFilter(db().dialect(), QString::fromUtf8(text));
            ADD_FAILURE() << "read: " << text;
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("无法读取资源的筛选条件：") + QString::fromUtf8(text)))
                << e.message().toStdString();
        }
    }
    EXPECT_EQ(ids("[部门]='销售'"), (QList<int>{1, 2})) << "the table is untouched";
}

VEK_BOTH_ENGINES(StoredFilterOnEngine);
