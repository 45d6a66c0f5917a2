#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

namespace vek {

// Pictures drawn at run time, so the program ships no image files: a rounded tile with
// a glyph (one or two characters) in it.
QIcon GlyphIcon(const QString &glyph, const QColor &color, int size = 32);

} // namespace vek
