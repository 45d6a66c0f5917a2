#include "BirthdayList.h"

#include "util/WeekDates.h"

namespace vek {

QStringList BirthdayChoiceLabels()
{
    return {QStringLiteral("今天生日"), QStringLiteral("本周生日"), QStringLiteral("下周生日"),
            QStringLiteral("本月生日"), QStringLiteral("下月生日")};
}

std::optional<QString> BirthdayFieldOf(const QString &storedFilter)
{
    if (!storedFilter.contains(QStringLiteral("本周生日")))
        return std::nullopt;
    const qsizetype comma = storedFilter.indexOf(',');
    return comma < 0 ? QString() : storedFilter.mid(comma + 1).trimmed();
}

namespace {

Condition weekCondition(const SqlDialect &d, const QString &field, QDate day)
{
    QList<Condition> days;
    for (int i = 0; i < 7; ++i, day = NextDay(day))
        days << Condition::monthDay(d, field, day.month(), day.day());
    return Condition::anyOf(days);
}

} // namespace

Condition BirthdayCondition(const SqlDialect &d, const QString &field, BirthdayChoice c, const QDate &today)
{
    // The real week that holds today; next week is the seven days after it, whatever the
    // year they fall in.
    const QDate monday = weekDays(today.year(), weekOfDate(today))[0];
    switch (c) {
    case BirthdayChoice::Today:
        return Condition::monthDay(d, field, today.month(), today.day());
    case BirthdayChoice::ThisWeek:
        return weekCondition(d, field, monday);
    case BirthdayChoice::NextWeek:
        return weekCondition(d, field, monday.addDays(7));
    case BirthdayChoice::ThisMonth:
        return Condition::month(d, field, today.month());
    case BirthdayChoice::NextMonth:
        return Condition::month(d, field, today.month() % 12 + 1);
    }
    return Condition::never();
}

} // namespace vek
