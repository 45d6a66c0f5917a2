#pragma once

#include "platform/ColumnInfo.h"
#include "platform/Condition.h"

#include <QList>
#include <QString>

namespace vek {

class SqlDialect;

// One input box of the retrieval panel ("查询"): its field, where it stands (row top is
// row * 30 + 8, left 120 or 410) and whether it has an upper-bound box beside it.
struct RetrievalBox {
    QString field;
    ColumnInfo::Kind kind = ColumnInfo::Kind::Text;
    bool hasUpper = false;
    QString upperLabel;     // "至:" for date-time fields, "小于等于:" for other ranges
    bool browseButton = false; // "浏览": pick one of the field's values
    int row = 0;
    int left = 120;
};

// The boxes for columns: those named in queryFields (comma-separated, any letter case),
// else every text, number, currency, date and date-time column; at most 50, in column
// order. A text box right after a text box shares its row at left 410.
QList<RetrievalBox> PlanRetrieval(const ColumnList &columns, const QString &queryFields);

struct RetrievalInput {
    QString lower;
    QString upper;
};

// The panel's condition from the filled boxes (inputs parallel to boxes), all values
// bound: numbers and dates as "= value", or ">= lower" and "<= upper" with an upper
// bound (for date-time fields "< the day after upper", and a lone date means that whole
// day); text boxes match what contains the text, % and _ taken literally. Throws DbError
// with "输入非法的数值！" for a number box or "输入非法的日期！" for a date box that
// holds something else.
Condition RetrievalCondition(const SqlDialect &d, const QList<RetrievalBox> &boxes,
                             const QList<RetrievalInput> &inputs);

// Whether a number box may hold text: empty, or a finite number.
bool IsRetrievalNumber(const QString &text);

} // namespace vek
