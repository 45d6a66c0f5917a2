#include "platform/Condition.h"
#include "platform/Query.h"
#include "platform/RecordSet.h"
#include "support/TestSupport.h"

#include <QDate>

using namespace vek;
using vek::test::EngineTest;

// A small table: ids 1..6, names, an integer, a date column and a date kept as text.
class ConditionOnEngine : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        Query::run(db(), "CREATE TABLE " + d.quoteIdent("人员") + " (id integer PRIMARY KEY, " + d.quoteIdent("姓名")
                             + " varchar(20), n integer, born " + d.dateType() + ", " + d.quoteIdent("生日文本")
                             + " varchar(10))");
        struct Row {
            const char *name;
            QVariant n;
            QDate born;
            const char *bornText;
        };
        const Row rows[] = {{"O'Brien", 5, QDate(1990, 3, 4), "1990-03-04"},
                            {"50% off", 10, QDate(2001, 3, 9), "2001-03-09"},
                            {"a_b", QVariant(), QDate(2012, 12, 31), ""},
                            {"张三", 7, QDate(2000, 1, 1), "2000-01-01"},
                            {"", 0, QDate(), "2000-03-04"},
                            {"ZHANG", 6, QDate(1985, 3, 4), "1985-03-04"}};
        int id = 0;
        for (const Row &r : rows)
            Query::run(db(), "INSERT INTO " + d.quoteIdent("人员") + " VALUES (:HostId, :HostName, :HostN, :HostBorn, :HostText)",
                       {{":HostId", ++id},
                        {":HostName", r.name},
                        {":HostN", r.n},
                        {":HostBorn", r.born.isValid() ? QVariant(r.born) : QVariant()},
                        {":HostText", r.bornText}});
    }

    // Ids of the rows the condition selects, through the record set the windows use.
    QList<int> ids(const Condition &c)
    {
        RecordSet rs(db());
        rs.open("人员", {}, c.sql(), c.binds(), "id");
        QList<int> out;
        for (int i = 0; i < rs.rowCount(); ++i)
            out << rs.valueAt(i, "id").toInt();
        return out;
    }
    const SqlDialect &d() { return db().dialect(); }
};

TEST_P(ConditionOnEngine, ComparisonsNullsAndEmptyTexts)
{
    using Op = Condition::Op;
    EXPECT_EQ(ids(Condition::compare(d(), "姓名", Op::Eq, "O'Brien")), QList<int>{1});
    EXPECT_EQ(ids(Condition::compare(d(), "n", Op::Ge, 6)), (QList<int>{2, 4, 6}));
    EXPECT_EQ(ids(Condition::compare(d(), "n", Op::Eq, QVariant())), QList<int>{3});
    EXPECT_EQ(ids(Condition::compare(d(), "n", Op::Ne, QVariant())), (QList<int>{1, 2, 4, 5, 6}));
    EXPECT_EQ(ids(Condition::compareNumber(d(), "n", Op::Gt, 5.5)), (QList<int>{2, 4, 6}))
        << "a fraction against an integer field";
    EXPECT_EQ(ids(Condition::isNullOrEmpty(d(), "姓名")), QList<int>{5});
    // On the server '' is no number or date: the empty test must still run there.
    EXPECT_EQ(ids(Condition::isNullOrEmpty(d(), "n")), QList<int>{3});
    EXPECT_EQ(ids(Condition::isNullOrEmpty(d(), "born")), QList<int>{5});
    EXPECT_EQ(ids(Condition::equalsIgnoringCase(d(), "姓名", "zhang")), QList<int>{6});
}

TEST_P(ConditionOnEngine, ContainsTakesWildcardsLiterallyAndIgnoresCase)
{
    EXPECT_EQ(ids(Condition::contains(d(), "姓名", "0%")), QList<int>{2});
    EXPECT_EQ(ids(Condition::contains(d(), "姓名", "_")), QList<int>{3});
    EXPECT_EQ(ids(Condition::contains(d(), "姓名", "bri")), QList<int>{1});
    EXPECT_EQ(ids(Condition::startsWith(d(), "姓名", "zh")), QList<int>{6});
    EXPECT_EQ(ids(Condition::contains(d(), "姓名", "'")), QList<int>{1});
}

TEST_P(ConditionOnEngine, InSetTakesThousandsOfValuesOnTextAndNumbers)
{
    QStringList many;
    for (int i = 0; i < 3000; ++i)
        many << QString("v%1").arg(i);
    many << "O'Brien" << "张三";
    EXPECT_EQ(ids(Condition::inSet(d(), "姓名", many)), (QList<int>{1, 4}));
    EXPECT_EQ(ids(Condition::inSet(d(), "n", {"5", "7", "99"})), (QList<int>{1, 4}));
    EXPECT_TRUE(ids(Condition::inSet(d(), "姓名", {})).isEmpty());
}

TEST_P(ConditionOnEngine, MonthAndDayOnDateColumnsAndDateTexts)
{
    EXPECT_EQ(ids(Condition::monthDay(d(), "born", 3, 4)), (QList<int>{1, 6}));
    EXPECT_EQ(ids(Condition::monthDay(d(), "生日文本", 3, 4)), (QList<int>{1, 5, 6}));
    EXPECT_EQ(ids(Condition::month(d(), "生日文本", 3)), (QList<int>{1, 2, 5, 6}))
        << "an empty date text is no date, not an error";
    EXPECT_EQ(ids(Condition::month(d(), "born", 12)), QList<int>{3});
}

TEST_P(ConditionOnEngine, CombinationsKeepTheirBrackets)
{
    using Op = Condition::Op;
    // An OR inside the standing filter must not leak rows past the added condition.
    const Condition base = Condition::compare(d(), "n", Op::Eq, 5) || Condition::compare(d(), "n", Op::Eq, 6);
    EXPECT_EQ(ids(base && Condition::compare(d(), "姓名", Op::Eq, "ZHANG")), QList<int>{6});
    EXPECT_EQ(ids(Condition() && base), (QList<int>{1, 6}));
    EXPECT_EQ(ids(!base), (QList<int>{2, 4, 5})) << "NOT keeps NULL out, as SQL does";
    EXPECT_TRUE(ids(!Condition()).isEmpty());
    EXPECT_TRUE(ids(base && Condition::never()).isEmpty());
    EXPECT_EQ(ids(Condition::anyOf({Condition(), base})), (QList<int>{1, 6}));
}

VEK_BOTH_ENGINES(ConditionOnEngine);
