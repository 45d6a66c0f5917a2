#pragma once

#include <QDate>

#include <array>

namespace vek {

// Calendar weeks in the system's own numbering. Week 1 of a year is the
// Monday-to-Sunday week that contains 1 January; every later week starts on a Monday;
// the last week contains 31 December, so a year has 53 weeks, or 54 when it is a leap
// year that starts on a Sunday (2012). Weekdays are Monday = 1 ... Sunday = 7.

// The first and last day of a week.
struct WeekSpan {
    QDate first;
    QDate last;

    bool isValid() const { return first.isValid() && last.isValid(); }
    bool contains(const QDate &d) const { return isValid() && d >= first && d <= last; }
    friend bool operator==(const WeekSpan &, const WeekSpan &) = default;
};

// First and last day of week n of year. The first day of week 1 is
// 1 January whatever its weekday (the span is clamped); the last week may end in the
// next year. Null dates (isValid() false) when n is not a week of year (n < 1 or
// n > weeksInYear(year)) or the year is not valid, where the legacy month walk gives
// no date.
WeekSpan WeekBounds(int year, int n);

// The calendar day after date (null for a null date).
QDate NextDay(const QDate &date);

// The number of the week of date.year() that contains date, consistent
// with WeekBounds (1 to 54). This is what "this week" means, not ISO week + 1. 0 for a
// null date.
int weekOfDate(const QDate &date);

// The number of weeks of year: the week of 31 December (53 or 54); 0 for no valid year.
int weeksInYear(int year);

// The real Monday ... Sunday of week n of year, for week columns. Unlike
// WeekBounds it is not clamped: the days of week 1 may begin in the year before, those
// of the last week may end in the year after. All null when n is not a week of year.
std::array<QDate, 7> weekDays(int year, int n);

} // namespace vek
