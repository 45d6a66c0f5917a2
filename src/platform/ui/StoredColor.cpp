#include "StoredColor.h"

#include <QApplication>
#include <QPalette>

namespace vek {

QColor ColorFromStored(qint64 stored)
{
    const quint32 word = quint32(stored);
    if ((word & 0xFF000000u) == 0xFF000000u) {
        const QPalette pal = QApplication::palette();
        switch (word & 0xFFu) {
        case 1:
            return pal.color(QPalette::Dark);
        case 5:
            return pal.color(QPalette::Base);
        case 8:
            return pal.color(QPalette::WindowText);
        case 15:
        default:
            return pal.color(QPalette::Button);
        }
    }
    return QColor(int(word & 0xFF), int((word >> 8) & 0xFF), int((word >> 16) & 0xFF));
}

qint64 StoredFromColor(const QColor &color)
{
    return qint64(color.red()) | (qint64(color.green()) << 8) | (qint64(color.blue()) << 16);
}

} // namespace vek
