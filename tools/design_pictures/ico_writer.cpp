#include "ico_writer.h"

#include <QtEndian>

#include <cstdint>
#include <limits>

namespace card {

namespace {

constexpr int kIconDirSize = 6;
constexpr int kIconEntrySize = 16;
constexpr int kBitmapInfoHeaderSize = 40;
constexpr int kPaletteEntries = 16;

// BMP rows are padded to whole 32-bit words.
int rowBytes(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

void appendU16(QByteArray& out, int value)
{
    char bytes[2];
    qToLittleEndian(std::uint16_t(value), bytes);
    out.append(bytes, 2);
}

void appendU32(QByteArray& out, std::uint32_t value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

int nearestPaletteIndex(const QList<QRgb>& palette, QRgb colour)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < palette.size(); ++i) {
        const int dr = qRed(palette[i]) - qRed(colour);
        const int dg = qGreen(palette[i]) - qGreen(colour);
        const int db = qBlue(palette[i]) - qBlue(colour);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

bool isTransparent(QRgb colour)
{
    return qAlpha(colour) < 128;
}

// Colour bits (4 per pixel), then the 1-bit mask; both bottom row first.
QByteArray bitmapPixels(const QImage& argb, const QList<QRgb>& palette)
{
    const int width = argb.width();
    const int height = argb.height();
    QByteArray colourRows(qsizetype(rowBytes(width, 4)) * height, '\0');
    QByteArray maskRows(qsizetype(rowBytes(width, 1)) * height, '\0');
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(height - 1 - y));
        char* colourRow = colourRows.data() + qsizetype(y) * rowBytes(width, 4);
        char* maskRow = maskRows.data() + qsizetype(y) * rowBytes(width, 1);
        for (int x = 0; x < width; ++x) {
            // Transparent pixels get colour 0 (black) and a set mask bit, as Windows expects.
            const bool transparent = isTransparent(line[x]);
            const int index = transparent ? 0 : nearestPaletteIndex(palette, line[x]);
            colourRow[x / 2] = char(colourRow[x / 2] | (x % 2 == 0 ? index << 4 : index));
            if (transparent)
                maskRow[x / 8] = char(maskRow[x / 8] | (0x80 >> (x % 8)));
        }
    }
    return colourRows + maskRows;
}

QByteArray bitmapResource(const QImage& image, const QList<QRgb>& palette)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QByteArray bmp;
    appendU32(bmp, kBitmapInfoHeaderSize);
    appendU32(bmp, std::uint32_t(argb.width()));
    // The height counts the colour bitmap and the mask together.
    appendU32(bmp, std::uint32_t(argb.height() * 2));
    appendU16(bmp, 1); // planes
    appendU16(bmp, 4); // bits per pixel
    appendU32(bmp, 0); // uncompressed
    appendU32(bmp, 0); // image size, may be 0 when uncompressed
    appendU32(bmp, 0); // horizontal resolution
    appendU32(bmp, 0); // vertical resolution
    appendU32(bmp, kPaletteEntries);
    appendU32(bmp, 0); // all colours important
    for (QRgb colour : palette) {
        bmp.append(char(qBlue(colour)));
        bmp.append(char(qGreen(colour)));
        bmp.append(char(qRed(colour)));
        bmp.append('\0');
    }
    bmp += bitmapPixels(argb, palette);
    return bmp;
}

} // namespace

QList<QRgb> windowsSixteenColours()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QByteArray encodeSixteenColourIcon(const QList<QImage>& images)
{
    const QList<QRgb> palette = windowsSixteenColours();
    QList<QByteArray> resources;
    for (const QImage& image : images)
        resources.append(bitmapResource(image, palette));

    QByteArray ico;
    appendU16(ico, 0); // reserved
    appendU16(ico, 1); // icon, not cursor
    appendU16(ico, int(images.size()));
    std::uint32_t offset = kIconDirSize + kIconEntrySize * std::uint32_t(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        // 256 is stored as 0 in the one-byte size fields.
        ico.append(char(images[i].width() & 0xFF));
        ico.append(char(images[i].height() & 0xFF));
        ico.append(char(kPaletteEntries));
        ico.append('\0');  // reserved
        appendU16(ico, 1); // planes
        appendU16(ico, 4); // bits per pixel
        appendU32(ico, std::uint32_t(resources[i].size()));
        appendU32(ico, offset);
        offset += std::uint32_t(resources[i].size());
    }
    for (const QByteArray& resource : resources)
        ico += resource;
    return ico;
}

} // namespace card
