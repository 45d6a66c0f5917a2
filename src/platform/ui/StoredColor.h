#pragma once

#include <QColor>

namespace vek {

// Colours are stored as 32-bit words 0x00BBGGRR in decimal; system colours carry the
// flag FF000000 plus the system colour index (15 button face, 1 desktop, 8 window text,
// 5 window). Stored as signed integers, so the flag reads back negative.
QColor ColorFromStored(qint64 stored);
qint64 StoredFromColor(const QColor &color);

} // namespace vek
