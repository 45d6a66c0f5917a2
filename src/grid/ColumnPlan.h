#pragma once

#include "CalcColumns.h"

#include "dictionary/DictionaryKey.h"
#include "platform/ColumnInfo.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vek {

class FieldDictionary;

// The FieldList setting as names: leading commas skipped, runs of commas count as one,
// items trimmed.
QStringList SplitFieldList(const QString &list);

// One column of a grid, decided before any widget exists.
struct PlannedColumn {
    QString field;                 // record-set field; "CalcField"+n for calculated columns
    ColumnInfo::Kind kind = ColumnInfo::Kind::Text;
    QStringList titleLevels;       // header levels, top first (title split at "|")
    QString title;                 // the whole title as the dictionary gives it
    bool sortable = true;
    int width = 64;                // pixels, at most 150
    bool readOnly = false;
    bool rightAligned = false;
    QStringList pickList;
    bool sum = false;
    bool average = false;
    bool count = false;
    bool calculated = false;
    int calcIndex = -1;            // n of "CalcField"+n
    bool documentField = false;    // opened by a double-click, drawn blue and underlined
};

struct ColumnPlan {
    QList<PlannedColumn> columns;
    bool sumRow = false;
    bool averageRow = false;
    bool countRow = false;
    // Remark label text: attachment columns shown without their base field.
    QString remark;
    // Remark text for document fields: "(" + titles joined by "、" + "双击打开)", or empty.
    QString documentRemark;
    // Static text of the first column, one entry per footer row present (sum, average,
    // count order); an entry is empty when that column shows a value in the row.
    QStringList footerLabels;
    // Names of FieldList the record set lacks; they were skipped.
    QStringList unknownFields;

    int footerRowCount() const { return int(sumRow) + int(averageRow) + int(countRow); }
};

// Builds the columns of a grid from the record set's fields, the FieldList setting, the
// dictionary (catalog mode only) and the calculated column definitions.
// plainTable: every numeric column gets a sum and an average and the dictionary's footer
// settings are not read. rightsInForce: UserID is read-only.
// Dictionary failures of GetGridTitle reach the caller as DbError.
ColumnPlan PlanColumns(FieldDictionary &dict, const DictionaryKey &key, const ColumnList &fields,
                       const QString &fieldListSetting, const QList<CalcDef> &calcs, bool plainTable,
                       bool rightsInForce, bool catalogMode);

// Footer labels for a given first column (after the saved layout moved the columns).
QStringList FooterLabelsFor(const ColumnPlan &plan, const PlannedColumn &first);

} // namespace vek
