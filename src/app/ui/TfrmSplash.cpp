#include "TfrmSplash.h"

#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>

namespace vek {

TfrmSplash::TfrmSplash(const QString &picture, int width, int height, int milliseconds, QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog)
{
    setObjectName("TfrmSplash");
    if (!picture.isEmpty() && QFileInfo::exists(picture))
        m_picture.load(picture);
    setFixedSize(width, height);
    if (milliseconds > 0)
        QTimer::singleShot(milliseconds, this, &QDialog::accept);
}

void TfrmSplash::mouseDoubleClickEvent(QMouseEvent *)
{
    accept();
}

void TfrmSplash::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_picture.isNull()) {
        p.drawPixmap(rect(), m_picture);
        return;
    }
    // The built-in picture.
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0x2b, 0x6c, 0xb0));
    g.setColorAt(1, QColor(0x1a, 0x36, 0x5d));
    p.fillRect(rect(), g);
    p.setPen(Qt::white);
    QFont f = font();
    f.setPixelSize(qMax(18, height() / 8));
    f.setBold(true);
    p.setFont(f);
    p.drawText(rect().adjusted(0, 0, 0, -height() / 6), Qt::AlignCenter, QStringLiteral("VEK2000"));
    f.setPixelSize(qMax(12, height() / 16));
    f.setBold(false);
    p.setFont(f);
    p.drawText(rect().adjusted(0, height() / 4, 0, 0), Qt::AlignCenter, QStringLiteral("通用管理平台"));
}

} // namespace vek
