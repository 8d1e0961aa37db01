// JPEG files for the viewer tests, made on the fly.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QSize>

namespace card::test {

// A camera writes the picture in one scan; a progressive encoder in several.
enum class JpegScans { One, Progressive };

// A JPEG of one colour.
inline QByteArray jpegBytes(const QColor& colour, const QSize& size = QSize(64, 48),
                            JpegScans scans = JpegScans::One)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(scans == JpegScans::Progressive);
    if (!writer.write(image))
        qFatal("cannot encode a test JPEG");
    return bytes;
}

// The JPEG with its frame header claiming another picture size; the data stays small.
inline QByteArray withClaimedSize(QByteArray jpeg, quint16 width, quint16 height)
{
    // Walk the header segments (marker, two length bytes) up to the baseline frame header.
    qsizetype pos = 2;
    while (pos + 9 <= jpeg.size() && quint8(jpeg[pos]) == 0xFF) {
        const quint8 marker = quint8(jpeg[pos + 1]);
        if (marker == 0xC0) {
            jpeg[pos + 5] = char(height >> 8);
            jpeg[pos + 6] = char(height & 0xFF);
            jpeg[pos + 7] = char(width >> 8);
            jpeg[pos + 8] = char(width & 0xFF);
            return jpeg;
        }
        pos += 2 + (quint8(jpeg[pos + 2]) << 8 | quint8(jpeg[pos + 3]));
    }
    qFatal("no baseline frame header in the test JPEG");
    return {};
}

// The JPEG with its first Huffman table (DHT) moved ahead of the frame header (SOF), an order
// some encoders write and decoders accept.
inline QByteArray withHuffmanTableFirst(const QByteArray& jpeg)
{
    qsizetype pos = 2;
    qsizetype frameAt = -1;
    while (pos + 4 <= jpeg.size() && quint8(jpeg[pos]) == 0xFF) {
        const quint8 marker = quint8(jpeg[pos + 1]);
        const qsizetype length = 2 + (quint8(jpeg[pos + 2]) << 8 | quint8(jpeg[pos + 3]));
        if (marker == 0xC0 || marker == 0xC2)
            frameAt = pos;
        if (marker == 0xC4 && frameAt >= 0) {
            const QByteArray table = jpeg.mid(pos, length);
            return jpeg.left(frameAt) + table + jpeg.mid(frameAt, pos - frameAt) +
                   jpeg.mid(pos + length);
        }
        if (marker == 0xDA)
            break;
        pos += length;
    }
    qFatal("no Huffman table after the frame header in the test JPEG");
    return {};
}

} // namespace card::test
