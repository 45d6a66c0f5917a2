#pragma once

#include <QString>
#include <QVariant>

namespace vek {

// Number display patterns as the dictionary stores them ("###,###,###.##", "￥###,###,###",
// "0.000", "#,##0.00;(#,##0.00);零"):
//   0   a digit, or 0 where the value has none;
//   #   a digit, or nothing where the value has none;
//   .   the first one places the decimal point (shown only when decimals follow);
//   ,   anywhere: separate the integer digits in groups of three (where the commas stand
//       does not matter, so "##,##,##,###" groups by three too);
//   ;   up to three sections: positive, negative, zero (an empty one falls back to the first;
//       the first section of a negative value gets a leading "-");
//   '…' "…"  literal text; any other character stands for itself.
// The value is rounded half away from zero to the decimals of the pattern, taken from its
// 15 significant digits (so 2.675 with "0.00" shows 2.68). Digits beyond the integer
// placeholders are shown before the first one. A value that rounds to zero is zero.
// An empty pattern gives the general form: up to 15 significant digits, no grouping.
// Exponent formats ("0.00E+00") are not supported: E stands for itself.
class NumberFormat {
public:
    static QString format(double value, const QString &pattern);
    // A null value shows as empty; a text that is not a number shows as it is.
    static QString format(const QVariant &value, const QString &pattern);

    // The text shown while a value is edited: every digit the value holds, no grouping,
    // no exponent, so that saving an edit never loses decimals.
    static QString editText(double value);
    static QString editText(const QVariant &value);

    // The pattern a dictionary DisplayFormat stands for: the nine sample texts of the
    // dictionary window map to their patterns (five of them take the decimals of digit,
    // "." and that many "#"), any other non-empty text is its own pattern; blank gives blank.
    // A digit that is not a number gives no decimals.
    static QString patternForSample(const QString &displayFormat, const QString &digit);
};

} // namespace vek
