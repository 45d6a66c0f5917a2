#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace vek {

// One token of a stored filter text. Name is a [bracketed] name, never a keyword; Word
// is a bare name or keyword; String, Number and Date hold the literal without its
// quotes or # signs; Param is a ":HostX" placeholder; Op is = <> < > <= >= (!= as <>).
struct FilterToken {
    enum Type { End, Name, Word, String, Number, Date, Param, Op, LParen, RParen, Comma, Minus };
    Type type = End;
    QString text;
};

// The tokens of text, ending with an End token. Throws DbError naming what it could not
// read (an open quote, a character that has no place in a filter).
QList<FilterToken> TokenizeFilter(const QString &text);

// Values as users type them and the catalog stores them.
// A finite number in plain notation ("12", "-3.5", "1e3"); nothing else.
std::optional<double> ReadNumberText(const QString &text);
// A date as yyyy-M-d, yyyy/M/d, yyyy.M.d or M/d/yyyy.
std::optional<QDate> ReadDateText(const QString &text);
// A date with an optional time of day (" H:mm" or " H:mm:ss", also after "T").
std::optional<QDateTime> ReadDateTimeText(const QString &text);

} // namespace vek
