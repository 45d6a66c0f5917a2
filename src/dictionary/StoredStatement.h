#pragma once

#include <QString>

namespace vek {

// A statement text kept in the catalog (a lookup's FromTableSQL) and run as written.
// The server driver runs a text with several statements in one go, so such a text is
// checked to hold one statement: no ";" outside quoted text and comments (one at the
// end is dropped), and no "$" outside quotes (dollar quoting could hide one).
class StoredStatement {
public:
    static bool isSingle(const QString &text);
    // The text without a final ";"; throws DbError when it holds more than one statement.
    static QString single(const QString &text);
};

} // namespace vek
