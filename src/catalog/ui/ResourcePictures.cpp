#include "ResourcePictures.h"

#include "catalog/ResourceTree.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace vek {

namespace {

constexpr int kSize = 16;

QPixmap canvas()
{
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    return pm;
}

void drawFolder(QPainter &p, const QColor &c)
{
    p.setBrush(c.darker(115));
    p.drawRect(1, 3, 6, 3);
    p.setBrush(c);
    p.drawRect(1, 5, 14, 9);
}

void drawSheet(QPainter &p)
{
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 12, 14);
}

// Simple drawn pictures, so that no image files are needed.
QPixmap drawTreePicture(int picture)
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(60, 60, 60));
    switch (picture) {
    case Picture::Directory:
    case Picture::DirectoryAlt:
        drawFolder(p, QColor(240, 200, 80));
        break;
    case Picture::DataForm: // a form: a sheet with fields
        drawSheet(p);
        p.setBrush(QColor(90, 140, 220));
        for (int y : {4, 8, 12})
            p.drawRect(6, y - 1, 6, 2);
        break;
    case Picture::Module: // a cube
        p.setBrush(QColor(120, 190, 120));
        p.drawRect(2, 5, 9, 9);
        p.setBrush(QColor(160, 220, 160));
        p.drawPolygon(QPolygon({QPoint(2, 5), QPoint(5, 2), QPoint(14, 2), QPoint(11, 5)}));
        break;
    case Picture::Grid: // a table
        p.setBrush(Qt::white);
        p.drawRect(1, 2, 14, 12);
        p.drawLine(1, 6, 15, 6);
        p.drawLine(1, 10, 15, 10);
        p.drawLine(6, 2, 6, 14);
        p.drawLine(11, 2, 11, 14);
        break;
    case Picture::Statistics: // bars
        p.setBrush(QColor(220, 110, 90));
        p.drawRect(2, 8, 3, 6);
        p.drawRect(7, 4, 3, 10);
        p.drawRect(12, 10, 2, 4);
        break;
    case Picture::List: // lines with bullets
        drawSheet(p);
        for (int y : {4, 8, 12}) {
            p.drawRect(4, y - 1, 1, 1);
            p.drawLine(7, y, 12, y);
        }
        break;
    case Picture::CodeTable: // two columns
        p.setBrush(QColor(250, 240, 200));
        p.drawRect(1, 2, 14, 12);
        p.drawLine(5, 2, 5, 14);
        p.drawLine(1, 6, 15, 6);
        break;
    case Picture::Web: // a globe
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setBrush(QColor(110, 170, 235));
        p.drawEllipse(1, 1, 14, 14);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(5, 1, 6, 14);
        p.drawLine(1, 8, 15, 8);
        break;
    case Picture::FileMissing: // a sheet with a red cross
        drawSheet(p);
        p.setPen(QPen(QColor(200, 30, 30), 2));
        p.drawLine(5, 5, 11, 11);
        p.drawLine(11, 5, 5, 11);
        break;
    default:
        drawSheet(p);
        break;
    }
    return pm;
}

const QStyle::StandardPixmap kOutlookPixmaps[kOutlookPictureCount] = {
    QStyle::SP_DirIcon,              QStyle::SP_DirOpenIcon,          QStyle::SP_FileIcon,
    QStyle::SP_FileDialogDetailedView, QStyle::SP_FileDialogListView, QStyle::SP_ComputerIcon,
    QStyle::SP_DriveHDIcon,          QStyle::SP_DriveNetIcon,         QStyle::SP_MessageBoxInformation,
    QStyle::SP_FileDialogContentsView, QStyle::SP_DesktopIcon,        QStyle::SP_TrashIcon,
    QStyle::SP_DialogSaveButton,     QStyle::SP_DialogOpenButton,     QStyle::SP_MediaVolume,
    QStyle::SP_BrowserReload,        QStyle::SP_FileDialogInfoView,   QStyle::SP_FileDialogDetailedView,
    QStyle::SP_MessageBoxWarning,    QStyle::SP_BrowserReload,        QStyle::SP_DialogHelpButton,
    QStyle::SP_DriveCDIcon,          QStyle::SP_DriveNetIcon,         QStyle::SP_ArrowUp,
    QStyle::SP_ArrowDown,            QStyle::SP_MediaPlay,            QStyle::SP_MediaStop,
    QStyle::SP_DialogCloseButton,    QStyle::SP_DialogApplyButton,    QStyle::SP_DialogCancelButton,
    QStyle::SP_DirHomeIcon,          QStyle::SP_DialogResetButton,
};

} // namespace

QIcon TreePictureIcon(int picture, const QStringList &filePictures)
{
    const int file = picture - Picture::FirstFilePicture;
    if (file >= 0) {
        if (file < filePictures.size()) {
            const QIcon icon = QFileIconProvider().icon(QFileInfo(filePictures[file]));
            if (!icon.isNull())
                return icon;
        }
        return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    }
    static QHash<int, QIcon> cache;
    auto it = cache.find(picture);
    if (it == cache.end())
        it = cache.insert(picture, QIcon(drawTreePicture(picture)));
    return *it;
}

QIcon OutlookPictureIcon(int picture)
{
    if (picture < 0 || picture >= kOutlookPictureCount)
        picture = 1;
    return QApplication::style()->standardIcon(kOutlookPixmaps[picture]);
}

} // namespace vek
