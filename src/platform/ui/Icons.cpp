#include "Icons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace vek {

QIcon GlyphIcon(const QString &glyph, const QColor &color, int size)
{
    QIcon icon;
    for (int s : {16, 24, size}) {
        QPixmap pm(s, s);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), s / 5.0, s / 5.0);
        QFont f;
        f.setPixelSize(glyph.size() > 1 ? int(s * 0.42) : int(s * 0.62));
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, s, s), Qt::AlignCenter, glyph);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace vek
