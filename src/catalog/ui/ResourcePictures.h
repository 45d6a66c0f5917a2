#pragma once

#include <QIcon>
#include <QStringList>

namespace vek {

// The tree's image list: the pictures of ResourceTree.h's Picture numbers, then the
// icons of the external files (filePictures[n] is picture FirstFilePicture + n).
QIcon TreePictureIcon(int picture, const QStringList &filePictures = {});

// The outlook bar's button and group image list: pictures 0 .. kOutlookPictureCount-1.
QIcon OutlookPictureIcon(int picture);

} // namespace vek
