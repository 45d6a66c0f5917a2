#pragma once

#include <QChar>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>

namespace vek {

// Hanyu Pinyin initials, so that "rmrb" or "rm?b" finds 人民日报.
//
// The routines work on characters (Unicode code points), not on GBK byte
// pairs. An ASCII letter is its own initial, in capitals; an ASCII digit is its own
// initial; a GB2312 hanzi gives its letter (level 1 by the GB2312 area-code ranges,
// level 2 by the 3008-entry table, "[" for the radicals and strokes that have no reading
// of their own); anything else gives "?". A character's GB code comes from
// QStringEncoder("GB18030"); only codes whose two bytes both lie in 0xA1..0xFE are
// GB2312, so GBK-only characters give "?" too.

// The initial of one character: 'A'..'Z', '0'..'9', '[' or '?'.
QChar GetInitial(char32_t character);
// Text form: the initial of the one character of `character`, as a
// one-character text; "?" when the text is empty or holds more than one character.
QString GetInitial(const QString &character);

// The initials of every character of text, one per character (e.g. 人民日报 -> "RMRB").
QString initialsOf(const QString &text);

// Whether item matches the typed initials. An item that is empty after trimming matches.
// Otherwise position j of typed is compared with character j of item: "?" and a blank
// (also their full-width forms "？" and U+3000) match anything, even beyond the item's
// end; any other typed character, in upper case, must equal the item character's
// initial, and never matches an initial "?" or "[". The item may be longer than typed.
bool matchesInitials(const QString &item, const QString &typed);

// The items that match typed, in list order.
QStringList itemsMatchingInitials(const QStringList &items, const QString &typed);

// Returns result with every matching item appended in list order,
// after a CR ("\r") when the result is not empty, as the whole result when it is.
QString FilterByInitials(const QStringList &items, const QString &typed,
                         const QString &result = QString());

// The GB2312 level-2 table (zones 56 to 87): 3008 letters, entry k (from 1) at index
// k - 1 for the character with h * 94 + l - 20464 = k. Exposed for tests.
QLatin1StringView level2InitialsTable();

} // namespace vek
