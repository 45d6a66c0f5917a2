#include "util/WeekDates.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QString>

using vek::NextDay;
using vek::WeekBounds;
using vek::WeekSpan;

namespace {

std::string str(const QDate &d)
{
    return d.isValid() ? d.toString(Qt::ISODate).toStdString() : std::string("null");
}

std::string str(const WeekSpan &w)
{
    return str(w.first) + " .. " + str(w.last);
}

} // namespace

// Known examples and edge cases, as a case table.
TEST(WeekBounds, KnownExamples)
{
    struct Case {
        const char *what;
        int year, n;
        QDate first, last;
    };
    const Case cases[] = {
        {"1 Jan a Wednesday, week 1", 2025, 1, QDate(2025, 1, 1), QDate(2025, 1, 5)},
        {"1 Jan a Wednesday, week 2", 2025, 2, QDate(2025, 1, 6), QDate(2025, 1, 12)},
        {"1 Jan a Monday, week 1", 2024, 1, QDate(2024, 1, 1), QDate(2024, 1, 7)},
        {"1 Jan a Monday, week 1 (common year)", 2018, 1, QDate(2018, 1, 1), QDate(2018, 1, 7)},
        {"1 Jan a Friday, week 1", 2021, 1, QDate(2021, 1, 1), QDate(2021, 1, 3)},
        {"common year from Monday, week 53 ends in the next year", 2018, 53,
         QDate(2018, 12, 31), QDate(2019, 1, 6)},
        {"leap year from Monday, week 53", 2024, 53, QDate(2024, 12, 30), QDate(2025, 1, 5)},
        {"2005 (2005-3-7 lies in week 11)", 2005, 11, QDate(2005, 3, 7),
         QDate(2005, 3, 13)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const WeekSpan w = WeekBounds(c.year, c.n);
        EXPECT_EQ(str(w.first), str(c.first));
        EXPECT_EQ(str(w.last), str(c.last));
    }
}

// Week 53 of a common year from Monday, by the week arithmetic.
TEST(WeekBounds, Week53OfCommonYearFromMondayFollowsTheArithmetic)
{
    const QDate jan1(2018, 1, 1);
    ASSERT_EQ(jan1.dayOfWeek(), 1);
    const int s = 7 * 53 - 1 - 5;
    EXPECT_EQ(s, 365);
    EXPECT_EQ(WeekBounds(2018, 53).first, jan1.addDays(s - 1));
    EXPECT_EQ(WeekBounds(2018, 53).last, QDate(2019, 1, 6)); // e = 371: 6 days past December
}

// Years starting on each weekday, common and leap: week 1, week 2, the last week and the
// number of weeks (a leap year from Sunday has a week 54).
TEST(WeekBounds, YearsStartingOnEachWeekday)
{
    struct Case {
        int year, jan1Weekday, weeks;
        QDate week1Last, week2First, lastWeekFirst, lastWeekLast;
    };
    const Case cases[] = {
        // common years
        {2018, 1, 53, QDate(2018, 1, 7), QDate(2018, 1, 8), QDate(2018, 12, 31), QDate(2019, 1, 6)},
        {2019, 2, 53, QDate(2019, 1, 6), QDate(2019, 1, 7), QDate(2019, 12, 30), QDate(2020, 1, 5)},
        {2025, 3, 53, QDate(2025, 1, 5), QDate(2025, 1, 6), QDate(2025, 12, 29), QDate(2026, 1, 4)},
        {2026, 4, 53, QDate(2026, 1, 4), QDate(2026, 1, 5), QDate(2026, 12, 28), QDate(2027, 1, 3)},
        {2021, 5, 53, QDate(2021, 1, 3), QDate(2021, 1, 4), QDate(2021, 12, 27), QDate(2022, 1, 2)},
        {2022, 6, 53, QDate(2022, 1, 2), QDate(2022, 1, 3), QDate(2022, 12, 26), QDate(2023, 1, 1)},
        {2023, 7, 53, QDate(2023, 1, 1), QDate(2023, 1, 2), QDate(2023, 12, 25), QDate(2023, 12, 31)},
        // leap years
        {2024, 1, 53, QDate(2024, 1, 7), QDate(2024, 1, 8), QDate(2024, 12, 30), QDate(2025, 1, 5)},
        {2008, 2, 53, QDate(2008, 1, 6), QDate(2008, 1, 7), QDate(2008, 12, 29), QDate(2009, 1, 4)},
        {2020, 3, 53, QDate(2020, 1, 5), QDate(2020, 1, 6), QDate(2020, 12, 28), QDate(2021, 1, 3)},
        {2004, 4, 53, QDate(2004, 1, 4), QDate(2004, 1, 5), QDate(2004, 12, 27), QDate(2005, 1, 2)},
        {2016, 5, 53, QDate(2016, 1, 3), QDate(2016, 1, 4), QDate(2016, 12, 26), QDate(2017, 1, 1)},
        {2000, 6, 53, QDate(2000, 1, 2), QDate(2000, 1, 3), QDate(2000, 12, 25), QDate(2000, 12, 31)},
        {2012, 7, 54, QDate(2012, 1, 1), QDate(2012, 1, 2), QDate(2012, 12, 31), QDate(2013, 1, 6)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.year);
        ASSERT_EQ(QDate(c.year, 1, 1).dayOfWeek(), c.jan1Weekday);
        EXPECT_EQ(vek::weeksInYear(c.year), c.weeks);

        const WeekSpan w1 = WeekBounds(c.year, 1);
        EXPECT_EQ(str(w1.first), str(QDate(c.year, 1, 1)));
        EXPECT_EQ(str(w1.last), str(c.week1Last));
        EXPECT_EQ(w1.last.dayOfWeek(), 7);

        const WeekSpan w2 = WeekBounds(c.year, 2);
        EXPECT_EQ(str(w2.first), str(c.week2First));
        EXPECT_EQ(w2.first.dayOfWeek(), 1);
        EXPECT_EQ(w2.last, c.week2First.addDays(6));

        const WeekSpan last = WeekBounds(c.year, c.weeks);
        EXPECT_EQ(str(last.first), str(c.lastWeekFirst));
        EXPECT_EQ(str(last.last), str(c.lastWeekLast));
        EXPECT_TRUE(last.contains(QDate(c.year, 12, 31)));

        EXPECT_EQ(vek::weekOfDate(QDate(c.year, 1, 1)), 1);
        EXPECT_EQ(vek::weekOfDate(c.week2First), 2);
        EXPECT_EQ(vek::weekOfDate(QDate(c.year, 12, 31)), c.weeks);

        // Beyond the last week and before the first there is no week: no date, where the
        // legacy month walk would build an invalid one.
        EXPECT_FALSE(WeekBounds(c.year, c.weeks + 1).isValid()) << str(WeekBounds(c.year, c.weeks + 1));
        EXPECT_FALSE(WeekBounds(c.year, 0).isValid());
        EXPECT_FALSE(WeekBounds(c.year, -1).isValid());
    }
}

// Week 1 of a year from Friday; the seven days built from its
// first day by NextDay run from 1 to 7 January. Week columns show the real
// Monday to Sunday instead: weekDays.
TEST(WeekBounds, Week1OfYearFromFriday)
{
    const WeekSpan w = WeekBounds(2021, 1);
    EXPECT_EQ(w.first, QDate(2021, 1, 1));
    EXPECT_EQ(w.last, QDate(2021, 1, 3));

    QDate d = w.first;
    for (int i = 1; i < 7; ++i)
        d = NextDay(d);
    EXPECT_EQ(d, QDate(2021, 1, 7));

    const auto days = vek::weekDays(2021, 1);
    EXPECT_EQ(days.front(), QDate(2020, 12, 28));
    EXPECT_EQ(days.back(), QDate(2021, 1, 3));
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(days[i].dayOfWeek(), i + 1);
}

// Month and year ends.
TEST(NextDay, MonthAndYearEnds)
{
    struct Case {
        QDate from, to;
    };
    const Case cases[] = {
        {QDate(2023, 2, 28), QDate(2023, 3, 1)},   // non-leap February
        {QDate(2024, 2, 28), QDate(2024, 2, 29)},  // leap February
        {QDate(2024, 2, 29), QDate(2024, 3, 1)},
        {QDate(2025, 1, 31), QDate(2025, 2, 1)},
        {QDate(2025, 4, 30), QDate(2025, 5, 1)},
        {QDate(2025, 3, 7), QDate(2025, 3, 8)},
        {QDate(2025, 12, 31), QDate(2026, 1, 1)},  // 31 December
        {QDate(2026, 12, 31), QDate(2027, 1, 1)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(str(NextDay(c.from)), str(c.to)) << str(c.from);
    EXPECT_FALSE(NextDay(QDate()).isValid());
}

// 2026 starts on a Thursday: ISO week + 1 (the legacy callers) is one week ahead on every
// day of the year; the system's week is the one that contains the date.
TEST(WeekOfDate, Year2026StartsOnThursday)
{
    ASSERT_EQ(QDate(2026, 1, 1).dayOfWeek(), 4);
    EXPECT_EQ(vek::weekOfDate(QDate(2026, 1, 1)), 1);
    EXPECT_EQ(vek::weekOfDate(QDate(2026, 1, 4)), 1);
    EXPECT_EQ(vek::weekOfDate(QDate(2026, 1, 5)), 2);      // ISO week 2
    EXPECT_EQ(QDate(2026, 1, 5).weekNumber(), 2);
    EXPECT_EQ(vek::weekOfDate(QDate(2026, 12, 11)), 50);   // ISO week 50, not 51
    EXPECT_EQ(vek::weekOfDate(QDate(2026, 12, 28)), 53);   // ISO week 53: ISO + 1 = 54
    EXPECT_EQ(vek::weekOfDate(QDate(2026, 12, 31)), 53);
    EXPECT_EQ(vek::weeksInYear(2026), 53);

    EXPECT_EQ(WeekBounds(2026, 50), (WeekSpan{QDate(2026, 12, 7), QDate(2026, 12, 13)}));
    EXPECT_EQ(WeekBounds(2026, 53), (WeekSpan{QDate(2026, 12, 28), QDate(2027, 1, 3)}));
    EXPECT_FALSE(WeekBounds(2026, 54).isValid()); // where the legacy ISO + 1 would land

    const auto days = vek::weekDays(2026, 1);
    EXPECT_EQ(days.front(), QDate(2025, 12, 29));
    EXPECT_EQ(days.back(), QDate(2026, 1, 4));
}

// 2012 is a leap year that starts on a Sunday: week 1 is one day, and 31 December is the
// Monday of week 54.
TEST(WeekOfDate, Year2012HasAWeek54)
{
    ASSERT_EQ(QDate(2012, 1, 1).dayOfWeek(), 7);
    EXPECT_EQ(WeekBounds(2012, 1), (WeekSpan{QDate(2012, 1, 1), QDate(2012, 1, 1)}));
    EXPECT_EQ(WeekBounds(2012, 2), (WeekSpan{QDate(2012, 1, 2), QDate(2012, 1, 8)}));
    EXPECT_EQ(vek::weekOfDate(QDate(2012, 12, 30)), 53);
    EXPECT_EQ(vek::weekOfDate(QDate(2012, 12, 31)), 54);
    EXPECT_EQ(vek::weeksInYear(2012), 54);
    EXPECT_EQ(WeekBounds(2012, 54), (WeekSpan{QDate(2012, 12, 31), QDate(2013, 1, 6)}));
    EXPECT_FALSE(WeekBounds(2012, 55).isValid());
    EXPECT_EQ(vek::weekDays(2012, 54).front(), QDate(2012, 12, 31));
    EXPECT_EQ(vek::weekDays(2012, 54).back(), QDate(2013, 1, 6));
}

TEST(WeekOfDate, KnownCases)
{
    EXPECT_EQ(vek::weekOfDate(QDate(2025, 1, 1)), 1);
    EXPECT_EQ(vek::weekOfDate(QDate(2025, 1, 6)), 2);
    EXPECT_EQ(vek::weekOfDate(QDate(2025, 3, 5)), 10); // not ISO 10 + 1
    EXPECT_EQ(vek::weekOfDate(QDate(2025, 12, 31)), 53);
    EXPECT_EQ(vek::weekOfDate(QDate(2021, 1, 3)), 1);
    EXPECT_EQ(vek::weekOfDate(QDate(2021, 1, 4)), 2);
    EXPECT_EQ(vek::weekOfDate(QDate(2005, 3, 7)), 11); // ISO 10 + 1: 2005 starts on a Saturday
    EXPECT_EQ(vek::weekOfDate(QDate()), 0);
    EXPECT_EQ(vek::weeksInYear(0), 0); // QDate has no year 0
}

// Every day of 2000-2030 lies in the week weekOfDate names, under its own weekday, and
// consecutive weeks follow each other without gap or overlap.
TEST(WeekOfDate, EveryDayLiesInItsWeek)
{
    for (QDate d(2000, 1, 1); d <= QDate(2030, 12, 31); d = NextDay(d)) {
        const int n = vek::weekOfDate(d);
        ASSERT_GE(n, 1);
        ASSERT_LE(n, vek::weeksInYear(d.year()));
        const WeekSpan w = WeekBounds(d.year(), n);
        ASSERT_TRUE(w.contains(d)) << str(d) << " week " << n << ": " << str(w);
        const auto days = vek::weekDays(d.year(), n);
        ASSERT_EQ(days[d.dayOfWeek() - 1], d) << str(d);
        if (n > 1) {
            ASSERT_EQ(WeekBounds(d.year(), n - 1).last.addDays(1), w.first) << str(d);
        }
    }
}
