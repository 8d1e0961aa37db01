#include "core/photos/photo_file_checks.h"

#include <algorithm>

namespace card {

namespace {

quint8 byteAt(QByteArrayView bytes, qsizetype pos)
{
    return static_cast<quint8>(bytes[pos]);
}

quint16 bigEndian16(QByteArrayView bytes, qsizetype pos)
{
    return static_cast<quint16>(byteAt(bytes, pos) << 8 | byteAt(bytes, pos + 1));
}

bool isRestartMarker(quint8 marker)
{
    return marker >= 0xD0 && marker <= 0xD7;
}

// SOF0 to SOF15, without DHT (C4), JPG (C8) and DAC (CC), which share the range.
bool isFrameMarker(quint8 marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isProgressiveFrame(quint8 marker)
{
    return marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
}

// Where the marker after the compressed data that starts at pos begins, or the end. Inside the
// data a 0xFF byte is followed by 0x00 or a restart code.
qsizetype endOfScanData(QByteArrayView bytes, qsizetype pos)
{
    while ((pos = bytes.indexOf('\xFF', pos)) >= 0 && pos + 1 < bytes.size()) {
        const quint8 next = byteAt(bytes, pos + 1);
        if (next != 0x00 && next != 0xFF && !isRestartMarker(next))
            return pos;
        ++pos;
    }
    return bytes.size();
}

qint64 ceilDiv(qint64 value, qint64 divisor)
{
    return (value + divisor - 1) / divisor;
}

// Reads a frame header: the segment after its marker and length field.
bool readFrame(QByteArrayView segment, quint8 marker, JpegLayout& layout)
{
    if (segment.size() < 6)
        return false;
    const int components = byteAt(segment, 5);
    if (components < 1 || segment.size() < 6 + 3 * components)
        return false;
    int hMax = 1;
    int vMax = 1;
    for (int c = 0; c < components; ++c) {
        const quint8 sampling = byteAt(segment, 7 + 3 * c);
        const int h = sampling >> 4;
        const int v = sampling & 0x0F;
        if (h < 1 || h > 4 || v < 1 || v > 4)
            return false;
        hMax = std::max(hMax, h);
        vMax = std::max(vMax, v);
    }
    layout.height = bigEndian16(segment, 1);
    layout.width = bigEndian16(segment, 3);
    layout.progressive = isProgressiveFrame(marker);
    for (int c = 0; c < components; ++c) {
        const quint8 sampling = byteAt(segment, 7 + 3 * c);
        const qint64 blocksAcross = ceilDiv(ceilDiv(layout.width * (sampling >> 4), hMax), 8);
        const qint64 blocksDown = ceilDiv(ceilDiv(layout.height * (sampling & 0x0F), vMax), 8);
        layout.coefficientBytes += blocksAcross * blocksDown * 64 * 2;
    }
    return true;
}

} // namespace

bool photoSizeAllowed(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width * height <= kMaxPhotoPixels;
}

bool readJpegLayout(QByteArrayView bytes, JpegLayout& layout)
{
    layout = {};
    if (bytes.size() < 2 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != 0xD8)
        return false;
    bool frameSeen = false;
    qsizetype pos = 2;
    while (layout.scans <= kMaxJpegScans) {
        // Like the decoder, skip whatever stands between segments up to the next marker.
        pos = bytes.indexOf('\xFF', pos);
        if (pos < 0 || pos + 1 >= bytes.size())
            break;
        const quint8 marker = byteAt(bytes, pos + 1);
        if (marker == 0xFF || marker == 0x00) { // a fill byte, or a stray one
            ++pos;
            continue;
        }
        pos += 2;
        if (marker == 0xD9) {
            layout.complete = true;
            break;
        }
        if (isRestartMarker(marker) || marker == 0x01)
            continue;
        if (pos + 2 > bytes.size())
            return false;
        const qsizetype length = bigEndian16(bytes, pos);
        if (length < 2 || pos + length > bytes.size())
            return false;
        const QByteArrayView segment = bytes.sliced(pos + 2, length - 2);
        pos += length;
        if (isFrameMarker(marker) && !frameSeen) {
            if (!readFrame(segment, marker, layout))
                return false;
            frameSeen = true;
        } else if (marker == 0xDA) {
            if (!frameSeen)
                return false;
            ++layout.scans;
            pos = endOfScanData(bytes, pos);
        }
    }
    return layout.scans > 0; // a scan is only counted after a frame header
}

bool jpegDecodeBounded(const JpegLayout& layout)
{
    if (layout.scans > kMaxJpegScans)
        return false;
    const bool buffered = layout.progressive || layout.scans > 1;
    return !buffered || layout.coefficientBytes <= kMaxJpegCoefficientBytes;
}

} // namespace card
