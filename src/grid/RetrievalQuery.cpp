#include "RetrievalQuery.h"

#include "StoredFilter.h"
#include "platform/DbError.h"

#include <QStringList>

namespace vek {

namespace {

using Kind = ColumnInfo::Kind;

constexpr int kMaxBoxes = 50;

bool isRangeKind(Kind k)
{
    return k == Kind::Integer || k == Kind::Float || k == Kind::Currency || k == Kind::Date || k == Kind::DateTime;
}

bool offeredByKind(Kind k)
{
    return k == Kind::Text || isRangeKind(k);
}

double numberOf(const QString &text)
{
    const auto n = ReadNumberText(text);
    if (!n)
        throw DbError(QStringLiteral("输入非法的数值！"));
    return *n;
}

QDate dateOf(const QString &text)
{
    const auto d = ReadDateText(text);
    if (!d)
        throw DbError(QStringLiteral("输入非法的日期！"));
    return *d;
}

} // namespace

QList<RetrievalBox> PlanRetrieval(const ColumnList &columns, const QString &queryFields)
{
    QStringList named;
    for (const QString &n : queryFields.split(',', Qt::SkipEmptyParts)) {
        if (!n.trimmed().isEmpty())
            named << n.trimmed().toUpper();
    }
    QList<RetrievalBox> boxes;
    bool rowOpenForText = false; // the last box is a text box alone in its row
    int row = -1;
    for (const ColumnInfo &c : columns) {
        if (boxes.size() >= kMaxBoxes)
            break;
        if (named.isEmpty() ? !offeredByKind(c.kind) : !named.contains(c.name.toUpper()))
            continue;
        RetrievalBox b;
        b.field = c.name;
        b.kind = c.kind;
        b.browseButton = c.kind == Kind::Text;
        b.hasUpper = isRangeKind(c.kind);
        if (b.hasUpper)
            b.upperLabel = c.kind == Kind::DateTime ? QStringLiteral("至:") : QStringLiteral("小于等于:");
        if (c.kind == Kind::Text && rowOpenForText) {
            // Two text boxes share a row; a third starts the next one.
            b.row = row;
            b.left = 410;
            rowOpenForText = false;
        } else {
            b.row = ++row;
            b.left = 120;
            rowOpenForText = c.kind == Kind::Text;
        }
        boxes << b;
    }
    return boxes;
}

Condition RetrievalCondition(const SqlDialect &d, const QList<RetrievalBox> &boxes, const QList<RetrievalInput> &inputs)
{
    QList<Condition> parts;
    for (int i = 0; i < boxes.size() && i < inputs.size(); ++i) {
        const RetrievalBox &b = boxes[i];
        const QString lower = inputs[i].lower.trimmed();
        const QString upper = b.hasUpper ? inputs[i].upper.trimmed() : QString();
        using Op = Condition::Op;
        if (b.kind == Kind::Date || b.kind == Kind::DateTime) {
            const bool stamp = b.kind == Kind::DateTime;
            if (!lower.isEmpty()) {
                const QDate from = dateOf(lower);
                if (!upper.isEmpty())
                    parts << Condition::compare(d, b.field, Op::Ge, from);
                else if (stamp) // a lone date on a date-time field: that whole day
                    parts << (Condition::compare(d, b.field, Op::Ge, from)
                              && Condition::compare(d, b.field, Op::Lt, from.addDays(1)));
                else
                    parts << Condition::compare(d, b.field, Op::Eq, from);
            }
            if (!upper.isEmpty()) {
                const QDate to = dateOf(upper);
                // The end day's records keep their time of day.
                parts << (stamp ? Condition::compare(d, b.field, Op::Lt, to.addDays(1))
                                : Condition::compare(d, b.field, Op::Le, to));
            }
        } else if (b.hasUpper) {
            if (!lower.isEmpty())
                parts << Condition::compareNumber(d, b.field, upper.isEmpty() ? Op::Eq : Op::Ge, numberOf(lower));
            if (!upper.isEmpty())
                parts << Condition::compareNumber(d, b.field, Op::Le, numberOf(upper));
        } else if (!lower.isEmpty()) {
            parts << Condition::contains(d, b.field, lower);
        }
    }
    return Condition::allOf(parts);
}

bool IsRetrievalNumber(const QString &text)
{
    return text.trimmed().isEmpty() || ReadNumberText(text).has_value();
}

} // namespace vek
