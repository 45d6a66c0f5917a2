#pragma once

#include "platform/Condition.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace vek {

class SqlDialect;

// The birthday list: a resource whose standing filter holds "本周生日" lists the records
// whose birthday (month and day of a date field) falls in a chosen span.
enum class BirthdayChoice { Today, ThisWeek, NextWeek, ThisMonth, NextMonth };

// "今天生日", "本周生日", "下周生日", "本月生日", "下月生日", in the order of BirthdayChoice.
QStringList BirthdayChoiceLabels();

// The birthday field named by a stored filter of the form "本周生日,field": the text after
// the first comma, trimmed (empty when the filter names none); nullopt when the filter
// does not ask for a birthday list.
std::optional<QString> BirthdayFieldOf(const QString &storedFilter);

// Records of field whose month and day fall on today, in today's week (Monday to Sunday,
// the week of WeekBounds that holds today), in the seven days after it, in today's month
// or in the next month (January after December).
Condition BirthdayCondition(const SqlDialect &d, const QString &field, BirthdayChoice c, const QDate &today);

} // namespace vek
