// A Windows icon writer for 16-colour images: Qt's own ICO writer only writes 32-bit images.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace card {

// The 16 colours of the classic Windows palette, the colours every 4-bit icon is drawn in.
QList<QRgb> windowsSixteenColours();

// An ICO file with one 4-bit palette BMP per image, in the given order. Each image is mapped
// to the nearest of windowsSixteenColours(); pixels with alpha below one half become
// transparent through the icon mask. Images must be at most 256 x 256.
QByteArray encodeSixteenColourIcon(const QList<QImage>& images);

} // namespace card
