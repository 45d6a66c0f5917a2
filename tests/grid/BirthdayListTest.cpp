#include "grid/BirthdayList.h"
#include "platform/Query.h"
#include "platform/RecordSet.h"
#include "support/TestSupport.h"
#include "util/WeekDates.h"

#include <QDate>

using namespace vek;
using vek::test::EngineTest;

TEST(BirthdayList, FieldAndLabels)
{
    EXPECT_EQ(BirthdayFieldOf("本周生日,csrq"), QString("csrq"));
    EXPECT_EQ(BirthdayFieldOf("本周生日, 出生日期 "), QString("出生日期"));
    EXPECT_EQ(BirthdayFieldOf("本周生日,a,b"), QString("a,b")) << "everything after the first comma";
    EXPECT_EQ(BirthdayFieldOf("本周生日"), QString()) << "a birthday list without a field";
    EXPECT_FALSE(BirthdayFieldOf("[csrq] is not null").has_value());
    EXPECT_FALSE(BirthdayFieldOf("").has_value());
    EXPECT_EQ(BirthdayChoiceLabels(), (QStringList{"今天生日", "本周生日", "下周生日", "本月生日", "下月生日"}));
}

// Birthdays kept as 'yyyy-MM-dd' text, one person per day around two turning points.
class BirthdayOnEngine : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        Query::run(db(), "CREATE TABLE " + d.quoteIdent("人员") + " (id integer PRIMARY KEY, " + d.quoteIdent("姓名")
                             + " varchar(20), csrq varchar(10))");
        const char *born[] = {"1990-12-27", "1991-12-28", "1992-12-31", "1993-01-01", "1994-01-03", "1995-01-04",
                              "1996-01-10", "1997-01-11", "1998-03-01", "1999-03-02", "2000-03-04", "2001-03-08",
                              "2002-03-09", "2003-03-15", "2004-02-29", ""};
        int id = 0;
        for (const char *b : born)
            Query::run(db(), "INSERT INTO " + d.quoteIdent("人员") + " VALUES (:HostId, :HostName, :HostBorn)",
                       {{":HostId", ++id}, {":HostName", QString(b).mid(5)}, {":HostBorn", QString(b)}});
    }

    // Month and day of the people the choice lists.
    QStringList listed(BirthdayChoice c, const QDate &today)
    {
        const Condition cond = BirthdayCondition(db().dialect(), "csrq", c, today);
        RecordSet rs(db());
        rs.open("人员", {}, cond.sql(), cond.binds(), "id");
        QStringList out;
        for (int i = 0; i < rs.rowCount(); ++i)
            out << rs.valueAt(i, "姓名").toString();
        return out;
    }
};

TEST_P(BirthdayOnEngine, WeeksAndMonthsAcrossTheYearEnd)
{
    const QDate wed(2026, 12, 30); // the week runs Monday 28 December to Sunday 3 January
    EXPECT_EQ(listed(BirthdayChoice::Today, wed), QStringList{});
    EXPECT_EQ(listed(BirthdayChoice::Today, QDate(2026, 12, 31)), QStringList{"12-31"});
    EXPECT_EQ(listed(BirthdayChoice::ThisWeek, wed), (QStringList{"12-28", "12-31", "01-01", "01-03"}));
    EXPECT_EQ(listed(BirthdayChoice::ThisWeek, QDate(2027, 1, 3)), (QStringList{"12-28", "12-31", "01-01", "01-03"}))
        << "the same week seen from the new year";
    EXPECT_EQ(listed(BirthdayChoice::NextWeek, wed), (QStringList{"01-04", "01-10"}));
    EXPECT_EQ(listed(BirthdayChoice::ThisMonth, wed), (QStringList{"12-27", "12-28", "12-31"}));
    EXPECT_EQ(listed(BirthdayChoice::NextMonth, wed), (QStringList{"01-01", "01-03", "01-04", "01-10", "01-11"}))
        << "the month after December is January";
}

TEST_P(BirthdayOnEngine, TheRealWeekInAYearStartingOnThursday)
{
    // 2026 begins on a Thursday: ISO week + 1 would name the week after the real one.
    const QDate wed(2026, 3, 4);
    const WeekSpan week = WeekBounds(2026, weekOfDate(wed));
    ASSERT_TRUE(week.contains(wed));
    EXPECT_EQ(week.first, QDate(2026, 3, 2));
    EXPECT_EQ(listed(BirthdayChoice::ThisWeek, wed), (QStringList{"03-02", "03-04", "03-08"}));
    EXPECT_EQ(listed(BirthdayChoice::ThisWeek, QDate(2026, 3, 8)), (QStringList{"03-02", "03-04", "03-08"}))
        << "Sunday closes the week";
    EXPECT_EQ(listed(BirthdayChoice::NextWeek, wed), (QStringList{"03-09", "03-15"}));
    EXPECT_EQ(listed(BirthdayChoice::Today, wed), QStringList{"03-04"});
    EXPECT_EQ(listed(BirthdayChoice::NextMonth, QDate(2026, 2, 10)),
              (QStringList{"03-01", "03-02", "03-04", "03-08", "03-09", "03-15"}));
    EXPECT_EQ(listed(BirthdayChoice::ThisMonth, QDate(2026, 2, 10)), QStringList{"02-29"});
}

VEK_BOTH_ENGINES(BirthdayOnEngine);
