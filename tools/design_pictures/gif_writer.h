// A still GIF89a writer: Qt reads GIF but cannot write it.
#pragma once

#include <QByteArray>
#include <QImage>

namespace card {

// At most this many colours fit a GIF colour table.
inline constexpr int kMaxGifColours = 256;

// image as an 8-bit indexed picture of at most 256 colours. Pictures with more colours keep
// their most frequent ones and every other pixel takes the nearest of those; alpha is dropped.
QImage toGifPalette(const QImage& image);

// The LZW code stream of a GIF image (before it is cut into sub-blocks) for pixel indexes below
// 2^minCodeSize.
QByteArray lzwCompress(const QByteArray& indexes, int minCodeSize);

// A complete GIF89a file holding image as one still picture; image is converted with
// toGifPalette first when it is not already indexed.
QByteArray encodeGif(const QImage& image);

} // namespace card
