#pragma once

#include "platform/ColumnInfo.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <utility>

namespace vek {
class TDModule;
}

// Value helpers of the record rules: how a value reads as text, what a column can take,
// and the placeholders of stored statements.
namespace vek::rules {

bool isTextKind(const ColumnInfo &c);
// A column declared "time" (the schema has no kind of its own for it).
bool isTimeColumn(const ColumnInfo &c);
const ColumnInfo *findColumn(const ColumnList &columns, const QString &name);
// The table's spelling in the schema and the column as the schema describes it. Throws DbError.
std::pair<QString, ColumnInfo> schemaColumn(TDModule &db, const QString &table, const QString &field);

// A value as the text the rules compare (dates as yyyy-MM-dd, date-times with the time).
QString textOf(const QVariant &v);
bool isEmptyValue(const QVariant &v);
// A number without a needless fraction: 100 gives "100", 0.5 gives "0.5".
QString numberText(double x);
// The value converted to what the column holds; nothing when the column cannot take it.
std::optional<QVariant> columnValue(const ColumnInfo &c, const QVariant &v);

// A statement with every ":name" outside quotes and comments replaced by a placeholder of
// our own (":HostP0", …), and the names in order of appearance. Field names are often
// Chinese, which the drivers' own placeholder parsing does not accept.
struct Placeholders {
    QString sql;
    QStringList names;
};
Placeholders parsePlaceholders(const QString &statement);

} // namespace vek::rules
