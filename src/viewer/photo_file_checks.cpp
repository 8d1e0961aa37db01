#include "viewer/photo_file_checks.h"

namespace card {

namespace {

// Inside compressed picture data a 0xFF byte is always followed by 0x00 or a restart code, so
// these pairs only occur as real markers there.
constexpr char kEndOfImage[] = "\xFF\xD9";
constexpr char kStartOfScan[] = "\xFF\xDA";

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

// Where the marker after the compressed data that starts at pos begins, or the end.
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

} // namespace

bool photoSizeAllowed(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width * height <= kMaxPhotoPixels;
}

bool readJpegLayout(QByteArrayView bytes, JpegLayout& layout)
{
    layout = {};
    if (bytes.size() < 4 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != 0xD8)
        return false;
    bool frameSeen = false;
    qsizetype pos = 2;
    while (pos + 1 < bytes.size() && layout.scans <= kMaxJpegScans) {
        if (byteAt(bytes, pos) != 0xFF)
            return false;
        const quint8 marker = byteAt(bytes, pos + 1);
        pos += 2;
        if (marker == 0xFF) { // fill byte before a marker
            --pos;
            continue;
        }
        if (marker == 0xD9)
            break;
        if (isRestartMarker(marker) || marker == 0x01)
            continue;
        if (pos + 2 > bytes.size())
            return false;
        const qsizetype length = bigEndian16(bytes, pos);
        if (length < 2 || pos + length > bytes.size())
            return false;
        if (isFrameMarker(marker) && !frameSeen) {
            if (length < 8)
                return false;
            frameSeen = true;
            layout.height = bigEndian16(bytes, pos + 3);
            layout.width = bigEndian16(bytes, pos + 5);
            layout.components = byteAt(bytes, pos + 7);
            layout.progressive = isProgressiveFrame(marker);
        }
        pos += length;
        if (marker == 0xDA) {
            if (!frameSeen)
                return false;
            ++layout.scans;
            pos = endOfScanData(bytes, pos);
        }
    }
    return layout.scans > 0;
}

bool jpegDecodeBounded(const JpegLayout& layout)
{
    if (layout.scans > kMaxJpegScans)
        return false;
    if (!layout.progressive && layout.scans == 1)
        return true;
    return layout.width * layout.height * layout.components * 2 <= kMaxJpegCoefficientBytes;
}

bool jpegEndsImage(QByteArrayView bytes)
{
    const qsizetype end = bytes.lastIndexOf(QByteArrayView(kEndOfImage, 2));
    if (end < 0)
        return false;
    return bytes.sliced(end).indexOf(QByteArrayView(kStartOfScan, 2)) < 0;
}

} // namespace card
