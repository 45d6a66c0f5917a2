#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace vek {

// The hint that shows the whole current record: one "【title】∶value" line per column
// (the separator is "∶", U+2236), CR LF line ends, cut to 60 lines plus "......".
QString RecordHintText(const QList<QPair<QString, QString>> &lines);

// Value text of a picture or OLE column in the hint.
QString PictureHintValue(bool hasPicture); // "(包含图片)" / "(无图片)"
QString OleHintValue(bool hasObject);      // "(包含OLE对象)" / "(不包含OLE对象)"

// Record label: label + ":" + n; the label is "记录数" when empty.
QString RecordCountLabel(const QString &label, int n);

// Sorting by a column title. The mark shows the order the column is sorted in.
enum class SortMark { None, Ascending, Descending };

struct SortStep {
    SortMark mark = SortMark::None;
    QString orderBy; // empty: no sort
};

// Next sort of a column clicked while it shows current; ctrlOnly (Ctrl and no other
// modifier held) clears the sort. quotedField is the field as it appears in SQL.
SortStep NextSort(SortMark current, const QString &quotedField, bool ctrlOnly);

// Texts of the sort hint and the label beside the grid.
inline QString SortCancelHint() { return QStringLiteral("单击表头+Ctrl，取消排序"); }
inline QString SortLabelText() { return QStringLiteral("点击表头可进行排序"); }

} // namespace vek
