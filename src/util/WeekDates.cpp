#include "WeekDates.h"

namespace vek {

namespace {

// Day-of-year number of the Monday of week n (s = 7n - d1 - 5, where d1 is
// the weekday of 1 January); 0 or less when that Monday lies in the year before.
int mondayOfWeek(const QDate &jan1, int n)
{
    return 7 * n - jan1.dayOfWeek() - 5;
}

} // namespace

WeekSpan WeekBounds(int year, int n)
{
    const QDate jan1(year, 1, 1);
    if (!jan1.isValid() || n < 1 || n > weeksInYear(year))
        return {};
    const int s = mondayOfWeek(jan1, n);
    const QDate monday = jan1.addDays(s - 1);
    return {n < 2 ? jan1 : monday, monday.addDays(6)};
}

QDate NextDay(const QDate &date)
{
    return date.isValid() ? date.addDays(1) : QDate();
}

int weekOfDate(const QDate &date)
{
    if (!date.isValid())
        return 0;
    const QDate jan1(date.year(), 1, 1);
    return (date.dayOfYear() + jan1.dayOfWeek() - 2) / 7 + 1;
}

int weeksInYear(int year)
{
    return weekOfDate(QDate(year, 12, 31));
}

std::array<QDate, 7> weekDays(int year, int n)
{
    std::array<QDate, 7> days;
    const QDate jan1(year, 1, 1);
    if (!jan1.isValid() || n < 1 || n > weeksInYear(year))
        return days;
    const QDate monday = jan1.addDays(mondayOfWeek(jan1, n) - 1);
    for (int i = 0; i < 7; ++i)
        days[i] = monday.addDays(i);
    return days;
}

} // namespace vek
