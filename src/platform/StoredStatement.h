#pragma once

#include <QString>

namespace vek {

// Every statement the system runs holds exactly one statement: the server driver runs a
// text with several in one go, and texts kept in the catalog (a lookup's FromTableSQL,
// an after-save statement) are run as written. Query checks each text: no ";" outside quoted text and comments (one at the
// end is dropped), and no "$" outside quotes (dollar quoting could hide one).
class StoredStatement {
public:
    static bool isSingle(const QString &text);
    // The text without a final ";"; throws DbError when it holds more than one statement.
    static QString single(const QString &text);
};

} // namespace vek
