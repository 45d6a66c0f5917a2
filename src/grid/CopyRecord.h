#pragma once

#include <QStringList>
#include <QVariantMap>

namespace vek {

class RecordSet;

// The current record's values for a copy ("添加复制", "插入复制", "携带"), as values, not
// texts, so blobs, dates and fractions survive. Auto-increment columns and the fields the
// dictionary numbers itself (autoNumberedFields) are left out: the new record gets its own.
QVariantMap RememberForCopy(RecordSet &rs, const QStringList &autoNumberedFields);

// Writes the remembered non-empty values into the record being inserted; a field that
// refuses its value is left as the new record had it.
void ApplyCopy(RecordSet &rs, const QVariantMap &values);

} // namespace vek
