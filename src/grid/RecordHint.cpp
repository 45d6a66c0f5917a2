#include "RecordHint.h"

#include <QStringList>

namespace vek {

namespace {
constexpr int MaxHintLines = 60;
}

QString RecordHintText(const QList<QPair<QString, QString>> &lines)
{
    QStringList out;
    for (int i = 0; i < lines.size() && i < MaxHintLines; ++i)
        out << QStringLiteral("【") + lines.at(i).first + QStringLiteral("】\u2236") + lines.at(i).second;
    if (lines.size() > MaxHintLines)
        out << QStringLiteral("......");
    return out.join(QStringLiteral("\r\n"));
}

QString PictureHintValue(bool hasPicture)
{
    return hasPicture ? QStringLiteral("(包含图片)") : QStringLiteral("(无图片)");
}

QString OleHintValue(bool hasObject)
{
    return hasObject ? QStringLiteral("(包含OLE对象)") : QStringLiteral("(不包含OLE对象)");
}

QString RecordCountLabel(const QString &label, int n)
{
    return (label.isEmpty() ? QStringLiteral("记录数") : label) + ":" + QString::number(n);
}

SortStep NextSort(SortMark current, const QString &quotedField, bool ctrlOnly)
{
    if (ctrlOnly)
        return {SortMark::None, QString()};
    if (current == SortMark::Ascending)
        return {SortMark::Descending, quotedField + " DESC"};
    return {SortMark::Ascending, quotedField + " ASC"};
}

} // namespace vek
