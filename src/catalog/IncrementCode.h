#pragma once

#include <QString>

namespace vek {

class TDModule;

// The next code after code, as tree codes and record numbers count:
// - empty gives "1";
// - a text of digits only counts up numerically and keeps its width ("0099" -> "0100",
//   "9" -> "10"); a negative whole number that fits 32 bits gives that number + 1;
// - otherwise the last run of digits counts up, filled with "0" to its old width
//   ("A009" -> "A010", "2005-0099" -> "2005-0100", "A99" -> "A100", "12AB" -> "13AB");
// - a text without any digit gives an empty text.
QString IncrementCode(const QString &code);

// The code for a new usys_system row: the highest code (compared as text) counted up,
// with "10" replaced by "A00001", so that codes run "1".."9", "A00001", "A00002", ...
// Never returns a code that is already in use or an empty code. Throws DbError.
QString NextTreeCode(TDModule &db);

} // namespace vek
