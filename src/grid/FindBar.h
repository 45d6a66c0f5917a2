#pragma once

#include "platform/ColumnInfo.h"
#include "platform/Condition.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace vek {

class RecordSet;
class SqlDialect;
class TDModule;

// The find-and-filter bar of a grid: a field, a relation and a typed value, used to
// filter the records or to find the next matching one. Both read the relation as its
// label says; "模糊" is a contains-match that ignores letter case.
enum class FindRelation { Equal, Greater, GreaterEqual, Less, LessEqual, NotEqual, Like };

// "等于", "大于", "大于等于", "小于", "小于等于", "不等于", "模糊", in the order of FindRelation.
QStringList FindRelationLabels();

// nullopt when value suits a field of kind (numbers for numeric fields, real dates for
// date fields, yes/no words for booleans; an empty value always does); otherwise the
// message to show: "查找的内容错误!" when finding, "筛选的内容错误!" when filtering.
std::optional<QString> CheckFindValue(ColumnInfo::Kind kind, const QString &value, bool forFind);

// The bar's filter condition (the window puts the standing filter in front of it).
// The value is bound as the field's kind. An empty value filters empty fields (NULL or
// '') for "等于" and "模糊", non-empty ones for "不等于", and no rows for the order
// relations. "不等于" keeps the rows where the field is empty. A date typed for a
// date-time field stands for that whole day. Throws DbError with "筛选的内容错误!" for a
// value CheckFindValue refuses.
Condition FindBarFilter(const SqlDialect &d, const QString &field, ColumnInfo::Kind kind, FindRelation r,
                        const QString &value);

// Whether a cell matches, the same test the bar runs in SQL: numbers (currency too) as
// numbers, dates as dates, texts by character code, "模糊" as contains ignoring case.
// An empty typed value matches an empty cell (NULL or '') whatever the relation.
bool FindMatches(FindRelation r, ColumnInfo::Kind kind, const QVariant &cell, const QString &typed);

// The row after the current one whose field matches (FindMatches), searching to the
// end and then from the first row; -1 when no row matches. The matching keys come from
// one query under the record set's condition, so no row values are fetched. Throws
// DbError with "查找的内容错误!" for a value CheckFindValue refuses.
int FindNextRow(TDModule &db, RecordSet &rs, const QString &field, ColumnInfo::Kind kind, FindRelation r,
                const QString &value);

// The initials filter: field is one of the distinct values whose pinyin initials match
// typed ("rm?b"). Empty typed or no matching value gives the empty condition (the
// standing filter alone).
Condition InitialsFilter(const SqlDialect &d, const QString &field, const QStringList &distinctValues,
                         const QString &typed);

// The non-null values of field in table under base, each once, sorted by character code.
QStringList DistinctValues(TDModule &db, const QString &table, const QString &field, const Condition &base);

} // namespace vek
