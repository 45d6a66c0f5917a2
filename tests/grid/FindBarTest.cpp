#include "grid/FindBar.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/RecordSet.h"
#include "support/TestSupport.h"

#include <QDate>

using namespace vek;
using vek::test::EngineTest;
using Kind = ColumnInfo::Kind;
using R = FindRelation;

TEST(FindBar, LabelsAndValueChecks)
{
    EXPECT_EQ(FindRelationLabels(), (QStringList{"等于", "大于", "大于等于", "小于", "小于等于", "不等于", "模糊"}));
    const struct {
        Kind kind;
        const char *value;
        bool ok;
    } cases[] = {
        {Kind::Integer, "12", true},      {Kind::Integer, "abc", false},    {Kind::Float, "-1.5", true},
        {Kind::Currency, "1,000", false}, {Kind::Currency, "99.90", true},  {Kind::Date, "2026-03-04", true},
        {Kind::Date, "2026/3/4", true},   {Kind::Date, "2026-02-30", false}, {Kind::Date, "45000", false},
        {Kind::DateTime, "2026-03-04 08:30", true}, {Kind::Boolean, "是", true}, {Kind::Boolean, "maybe", false},
        {Kind::Text, "anything'; --", true}, {Kind::Integer, "", true},
    };
    for (const auto &c : cases) {
        const QString v = QString::fromUtf8(c.value);
        if (c.ok) {
            EXPECT_FALSE(CheckFindValue(c.kind, v, true).has_value()) << c.value;
            EXPECT_FALSE(CheckFindValue(c.kind, v, false).has_value()) << c.value;
        } else {
            EXPECT_EQ(CheckFindValue(c.kind, v, true), QString("查找的内容错误!")) << c.value;
            EXPECT_EQ(CheckFindValue(c.kind, v, false), QString("筛选的内容错误!")) << c.value;
        }
    }
}

// One column of every kind the bar handles; row 3 is empty but for its name, row 6 has
// no name.
class FindBarOnEngine : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        Query::run(db(), "CREATE TABLE " + d.quoteIdent("物品") + " (id integer PRIMARY KEY, " + d.quoteIdent("名称")
                             + " varchar(20), " + d.quoteIdent("数量") + " integer, " + d.quoteIdent("价格")
                             + " numeric(19,4), " + d.quoteIdent("日期") + ' ' + d.dateType() + ", "
                             + d.quoteIdent("时间") + ' ' + d.dateTimeType() + ", " + d.quoteIdent("有效") + ' '
                             + d.bitType() + ")");
        const QVariant null;
        const QVariantList rows[] = {
            {"Apple", 5, 9.5, QDate(2026, 3, 4), QDateTime(QDate(2026, 3, 4), QTime(8, 30)), true},
            {"apple pie", 10, 10, QDate(2026, 3, 5), QDateTime(QDate(2026, 3, 4), QTime(23, 59, 59)), false},
            {"O'Brien", null, null, null, null, null},
            {QStringLiteral(""), 0, 100.25, QDate(2025, 12, 31), QDateTime(QDate(2026, 3, 5), QTime(0, 0)), true},
            {"香蕉", 7, 9, QDate(2026, 1, 1), QDateTime(QDate(2026, 3, 3), QTime(12, 0)), false},
            {null, 5, 5, QDate(2026, 3, 4), QDateTime(QDate(2026, 3, 4), QTime(0, 0)), true},
        };
        Query q(db());
        q.prepare("INSERT INTO " + d.quoteIdent("物品") + " VALUES (:HostId, :HostA, :HostB, :HostC, :HostD, :HostE, :HostF)");
        int id = 0;
        for (const QVariantList &r : rows) {
            q.bind(":HostId", ++id);
            const char *names[] = {":HostA", ":HostB", ":HostC", ":HostD", ":HostE", ":HostF"};
            for (int i = 0; i < 6; ++i)
                q.bind(names[i], r[i]);
            q.exec();
        }
    }

    QList<int> ids(const Condition &c)
    {
        RecordSet rs(db());
        rs.open("物品", {}, c.sql(), c.binds(), "id");
        QList<int> out;
        for (int i = 0; i < rs.rowCount(); ++i)
            out << rs.valueAt(i, "id").toInt();
        return out;
    }
    // The rows FindMatches accepts, reading the cells as the engine returns them.
    QList<int> matching(R r, const QString &field, Kind kind, const QString &typed)
    {
        RecordSet rs(db());
        rs.open("物品", {}, {}, {}, "id");
        QList<int> out;
        for (int i = 0; i < rs.rowCount(); ++i) {
            if (FindMatches(r, kind, rs.valueAt(i, field), typed))
                out << rs.valueAt(i, "id").toInt();
        }
        return out;
    }
};

TEST_P(FindBarOnEngine, FilterAndFindTestWhatTheLabelsSay)
{
    const struct {
        const char *field;
        Kind kind;
        R r;
        const char *value;
        QList<int> expected;
    } cases[] = {
        {"名称", Kind::Text, R::Equal, "Apple", {1}},
        {"名称", Kind::Text, R::Equal, "O'Brien", {3}},
        {"名称", Kind::Text, R::Like, "APPLE", {1, 2}},
        {"名称", Kind::Text, R::Like, "'", {3}},
        {"名称", Kind::Text, R::Greater, "apple", {2, 5}}, // by character code: "Apple" < "apple" < "香蕉"
        {"名称", Kind::Text, R::Less, "B", {1, 4}},
        {"名称", Kind::Text, R::NotEqual, "Apple", {2, 3, 4, 5, 6}},
        {"数量", Kind::Integer, R::Equal, "5", {1, 6}},
        {"数量", Kind::Integer, R::Greater, "5.5", {2, 5}},
        {"数量", Kind::Integer, R::LessEqual, "5", {1, 4, 6}},
        {"数量", Kind::Integer, R::NotEqual, "5", {2, 3, 4, 5}},
        {"数量", Kind::Integer, R::Like, "0", {2, 4}},
        {"价格", Kind::Currency, R::Greater, "9.5", {2, 4}}, // as numbers: 10 > 9.5
        {"价格", Kind::Currency, R::Less, "10", {1, 5, 6}},
        {"价格", Kind::Currency, R::Equal, "100.25", {4}},
        {"日期", Kind::Date, R::Equal, "2026-03-04", {1, 6}},
        {"日期", Kind::Date, R::Greater, "2026/1/1", {1, 2, 6}},
        {"日期", Kind::Date, R::LessEqual, "2026-01-01", {4, 5}},
        {"日期", Kind::Date, R::NotEqual, "2026-03-04", {2, 3, 4, 5}},
        {"时间", Kind::DateTime, R::Equal, "2026-03-04", {1, 2, 6}}, // the whole day
        {"时间", Kind::DateTime, R::Greater, "2026-03-04", {4}},
        {"时间", Kind::DateTime, R::Less, "2026-03-04", {5}},
        {"时间", Kind::DateTime, R::LessEqual, "2026-03-04", {1, 2, 5, 6}},
        {"时间", Kind::DateTime, R::NotEqual, "2026-03-04", {3, 4, 5}},
        {"时间", Kind::DateTime, R::Equal, "2026-03-04 08:30", {1}},
        {"时间", Kind::DateTime, R::GreaterEqual, "2026-03-04 08:30:00", {1, 2, 4}},
        {"有效", Kind::Boolean, R::Equal, "是", {1, 4, 6}},
        {"有效", Kind::Boolean, R::Equal, "0", {2, 5}},
    };
    const SqlDialect &d = db().dialect();
    for (const auto &c : cases) {
        const QString field = QString::fromUtf8(c.field);
        const QString value = QString::fromUtf8(c.value);
        const std::string label = std::string(c.field) + " " + FindRelationLabels()[int(c.r)].toStdString() + " " + c.value;
        EXPECT_EQ(ids(FindBarFilter(d, field, c.kind, c.r, value)), c.expected) << "filter " << label;
        EXPECT_EQ(matching(c.r, field, c.kind, value), c.expected) << "find " << label;
    }
}

TEST_P(FindBarOnEngine, EmptyValuesAndRefusedValues)
{
    const SqlDialect &d = db().dialect();
    EXPECT_EQ(ids(FindBarFilter(d, "名称", Kind::Text, R::Equal, "")), (QList<int>{4, 6}));
    EXPECT_EQ(ids(FindBarFilter(d, "名称", Kind::Text, R::Like, "")), (QList<int>{4, 6}));
    EXPECT_EQ(ids(FindBarFilter(d, "名称", Kind::Text, R::NotEqual, "")), (QList<int>{1, 2, 3, 5}));
    EXPECT_EQ(ids(FindBarFilter(d, "数量", Kind::Integer, R::Equal, "")), QList<int>{3});
    EXPECT_EQ(ids(FindBarFilter(d, "日期", Kind::Date, R::Greater, "")), QList<int>{});
    // Finding an empty value finds empty fields, whatever the relation.
    EXPECT_EQ(matching(R::Greater, "名称", Kind::Text, ""), (QList<int>{4, 6}));
    EXPECT_EQ(matching(R::Equal, "时间", Kind::DateTime, ""), QList<int>{3});
    try {
        FindBarFilter(d, "数量", Kind::Integer, R::Equal, "5 or 1=1");
        ADD_FAILURE() << "a non-number was accepted";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), "筛选的内容错误!");
    }
}

TEST_P(FindBarOnEngine, FindNextWrapsUnderTheRecordSetsCondition)
{
    RecordSet rs(db());
    const QString id = db().dialect().quoteIdent("id");
    rs.open("物品", {}, id + " <> :HostSkip", {{":HostSkip", 2}}, id); // rows: ids 1, 3, 4, 5, 6
    ASSERT_EQ(rs.rowCount(), 5);
    EXPECT_EQ(FindNextRow(db(), rs, "名称", Kind::Text, R::Like, "apple"), 0) << "the current row, found last";
    ASSERT_TRUE(rs.seek(2));
    EXPECT_EQ(FindNextRow(db(), rs, "名称", Kind::Text, R::Like, "apple"), 0) << "apple pie is outside the set";
    EXPECT_EQ(FindNextRow(db(), rs, "数量", Kind::Integer, R::Equal, "5"), 4);
    ASSERT_TRUE(rs.seek(4));
    EXPECT_EQ(FindNextRow(db(), rs, "数量", Kind::Integer, R::Equal, "5"), 0) << "wraps to the first row";
    EXPECT_EQ(FindNextRow(db(), rs, "名称", Kind::Text, R::Equal, ""), 2) << "empty finds empty fields";
    EXPECT_EQ(FindNextRow(db(), rs, "数量", Kind::Integer, R::Equal, "999"), -1);
    EXPECT_EQ(FindNextRow(db(), rs, "日期", Kind::Date, R::Equal, "2026-03-04"), 0);
    EXPECT_THROW(FindNextRow(db(), rs, "日期", Kind::Date, R::Equal, "soon"), DbError);
}

TEST_P(FindBarOnEngine, FindNextOnATableWithoutKey)
{
    // Opens read-only on the server, where rows are known by position only.
    const SqlDialect &d = db().dialect();
    Query::run(db(), "CREATE TABLE " + d.quoteIdent("无键") + " (" + d.quoteIdent("名称") + " varchar(20), n integer)");
    for (int i = 0; i < 6; ++i)
        Query::run(db(), "INSERT INTO " + d.quoteIdent("无键") + " VALUES (:HostName, :HostN)",
                   {{":HostName", i % 3 == 0 ? "甲" : "乙"}, {":HostN", i}});
    RecordSet rs(db());
    rs.open("无键", {}, d.quoteIdent("n") + " >= :HostMin", {{":HostMin", 1}}, d.quoteIdent("n"));
    ASSERT_EQ(rs.rowCount(), 5); // n = 1 … 5
    EXPECT_EQ(rs.readOnly(), GetParam() == Engine::Postgres);
    EXPECT_EQ(FindNextRow(db(), rs, "名称", Kind::Text, R::Equal, "甲"), 2); // n = 3
    ASSERT_TRUE(rs.seek(3));
    EXPECT_EQ(FindNextRow(db(), rs, "名称", Kind::Text, R::Equal, "甲"), 2);
    EXPECT_EQ(FindNextRow(db(), rs, "n", Kind::Integer, R::Greater, "3"), 4);
}

TEST_P(FindBarOnEngine, InitialsFilterAndDistinctValues)
{
    const SqlDialect &d = db().dialect();
    Query::run(db(), "CREATE TABLE " + d.quoteIdent("报刊") + " (id integer PRIMARY KEY, " + d.quoteIdent("名称") + " varchar(20))");
    QStringList names{"人民日报", "人民画报", "人民银行", "日本", "O'Brien", "人民日报"};
    for (int i = 0; i < 1500; ++i)
        names << QString("A%1").arg(i, 4, 10, QChar('0'));
    {
        Transaction tx(db());
        Query q(db());
        q.prepare("INSERT INTO " + d.quoteIdent("报刊") + " VALUES (:HostId, :HostName)");
        for (int i = 0; i < names.size(); ++i) {
            q.bind(":HostId", i + 1);
            q.bind(":HostName", names[i]);
            q.exec();
        }
        tx.commit();
    }
    const Condition base = Condition::startsWith(d, "名称", "人民");
    EXPECT_EQ(DistinctValues(db(), "报刊", "名称", base), (QStringList{"人民日报", "人民画报", "人民银行"}));
    const QStringList all = DistinctValues(db(), "报刊", "名称", {});
    ASSERT_EQ(all.size(), 1505);
    auto rows = [&](const Condition &c) {
        RecordSet rs(db());
        rs.open("报刊", {}, c.sql(), c.binds(), "id");
        QStringList out;
        for (int i = 0; i < rs.rowCount(); ++i)
            out << rs.valueAt(i, "名称").toString();
        return out;
    };
    EXPECT_EQ(rows(InitialsFilter(d, "名称", all, "rm?b")), (QStringList{"人民日报", "人民画报", "人民日报"}));
    EXPECT_EQ(rows(InitialsFilter(d, "名称", all, "o")), QStringList{"O'Brien"});
    EXPECT_EQ(rows(base && InitialsFilter(d, "名称", all, "rmy")), QStringList{"人民银行"});
    EXPECT_EQ(rows(InitialsFilter(d, "名称", all, "a")).size(), 1500) << "one bound set, not 1500 OR terms";
    EXPECT_TRUE(InitialsFilter(d, "名称", all, "").isEmpty());
    EXPECT_TRUE(InitialsFilter(d, "名称", all, "zzz").isEmpty()) << "no match leaves the standing filter alone";
}

VEK_BOTH_ENGINES(FindBarOnEngine);
