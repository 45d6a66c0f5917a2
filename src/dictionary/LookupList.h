#pragma once

#include <QString>
#include <QStringList>

namespace vek {

class TDModule;

// A choice list drawn from a lookup table.
struct LookupChoices {
    QStringList lines;
    bool lookup = false; // the lines came from the lookup table
};

// Builds the choice list of a field whose values come from another table: one line per
// value of the lookup column, or, with two columns "code,name", the code padded to the
// code column's storage width, "|" and the name.
class LookupList {
public:
    // The first line of a list that offers choosing from a grid.
    static QString chooseFromGridEntry() { return QStringLiteral("列表选择..."); }

    // columns: one column, or "code,name"; tail: a WHERE clause (see whereTail). Never
    // fails outward: an unknown table or column, or a tail that does not run, gives an
    // empty list with the lookup flag cleared.
    static LookupChoices build(TDModule &db, const QString &columns, const QString &table,
                               const QString &tail = QString(), bool chooseGrid = false);

    // The WHERE clause of a SELECT text: from the keyword WHERE up to, not including, an
    // ORDER BY; empty when there is none. Keywords match without regard to case, as whole
    // words, outside quoted text.
    static QString whereTail(const QString &selectText);

    // code, blanks up to width (a hanzi taking two places, as in the original's code
    // page), "|", name.
    static QString codeLine(const QString &code, const QString &name, int width);
    static int displayWidth(const QString &text);
};

} // namespace vek
