#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace vek {

class IniFile;

// One calculated column as configured: "caption:expression" in the settings file.
struct CalcDef {
    QString caption;
    QString expression;
};

// The most calculated columns a grid has ("CalcField0" … "CalcField10").
constexpr int MaxCalcColumns = 11;

// Reads CalcFieldCount and the "CalcField"+n settings of section, once per column build
// (cells are evaluated on every paint, so the settings file is not read per cell).
QList<CalcDef> ReadCalcDefs(IniFile &ini, const QString &section);
// Splits one setting; a setting without ":" is all expression, captioned "计算"+(n+1).
CalcDef ParseCalcSetting(const QString &setting, int n);

// Text of a calculated cell. fieldText gives a field's text, or nothing when no field of
// that name exists. "序号" is the record number; "now-F" the age in years of the date in
// field F; anything else is evaluated strictly left to right (no precedence), with
// non-numbers counting as 0. A failing step (division by zero) gives an empty text.
QString EvaluateCalc(const CalcDef &def, const std::function<std::optional<QString>(const QString &field)> &fieldText,
                     int recordNumber, const QDate &today);

// Age in whole years on today: the birthday of this year counts once it is today or past.
int AgeOn(const QDate &birth, const QDate &today);

// The accumulator's text between steps: shortest text with at most 15 significant digits.
QString CalcStepText(double v);
// "##.00": two decimals, no leading zero before the point (0.5 → ".50").
QString FormatHashDot00(double v);

} // namespace vek
