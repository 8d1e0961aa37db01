#include "gif_writer.h"

#include <QHash>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace card {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;
constexpr int kMaxSubBlock = 255;

int squaredDistance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

// The most frequent colours of image, most frequent first, at most kMaxGifColours.
QList<QRgb> popularColours(const QImage& image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ++counts[line[x] | 0xFF000000u];
    }
    std::vector<std::pair<int, QRgb>> byCount;
    byCount.reserve(counts.size());
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        byCount.emplace_back(it.value(), it.key());
    // Ties broken by colour value so the palette does not depend on hash order.
    std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    QList<QRgb> colours;
    for (const auto& [count, colour] : byCount) {
        if (colours.size() == kMaxGifColours)
            break;
        colours.append(colour);
    }
    return colours;
}

int nearestIndex(const QList<QRgb>& colours, QRgb colour)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < colours.size(); ++i) {
        const int distance = squaredDistance(colours[i], colour);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

// Smallest code size GIF allows for a colour table of count entries (never below 2).
int bitsForColours(qsizetype count)
{
    int bits = 2;
    while ((qsizetype{1} << bits) < count)
        ++bits;
    return bits;
}

// Packs variable-width codes least significant bit first, as GIF requires.
class CodeWriter {
public:
    void write(int code, int width)
    {
        m_buffer |= std::uint32_t(code) << m_bitCount;
        m_bitCount += width;
        while (m_bitCount >= 8) {
            m_bytes.append(char(m_buffer & 0xFF));
            m_buffer >>= 8;
            m_bitCount -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_bitCount > 0)
            m_bytes.append(char(m_buffer & 0xFF));
        m_buffer = 0;
        m_bitCount = 0;
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    std::uint32_t m_buffer = 0;
    int m_bitCount = 0;
};

void appendWord(QByteArray& out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void appendSubBlocks(QByteArray& out, const QByteArray& data)
{
    for (qsizetype pos = 0; pos < data.size(); pos += kMaxSubBlock) {
        const qsizetype length = std::min<qsizetype>(kMaxSubBlock, data.size() - pos);
        out.append(char(length));
        out.append(data.constData() + pos, length);
    }
    out.append('\0');
}

QByteArray pixelIndexes(const QImage& indexed)
{
    QByteArray indexes;
    indexes.reserve(qsizetype(indexed.width()) * indexed.height());
    for (int y = 0; y < indexed.height(); ++y)
        indexes.append(reinterpret_cast<const char*>(indexed.constScanLine(y)), indexed.width());
    return indexes;
}

} // namespace

QImage toGifPalette(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QList<QRgb> colours = popularColours(rgb);
    QHash<QRgb, uchar> indexOf;
    for (int i = 0; i < colours.size(); ++i)
        indexOf.insert(colours[i], uchar(i));

    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    indexed.setColorTable(colours);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb colour = in[x] | 0xFF000000u;
            auto it = indexOf.constFind(colour);
            if (it == indexOf.cend())
                it = indexOf.insert(colour, uchar(nearestIndex(colours, colour)));
            out[x] = it.value();
        }
    }
    return indexed;
}

QByteArray lzwCompress(const QByteArray& indexes, int minCodeSize)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    // Child code of (prefix code, next index); -1 for none. 4096 x 256 entries of 16 bits.
    std::vector<std::int16_t> child(std::size_t(kMaxCodes) * 256, -1);
    int nextCode = endCode + 1;
    int codeWidth = minCodeSize + 1;

    CodeWriter writer;
    writer.write(clearCode, codeWidth);
    if (indexes.isEmpty()) {
        writer.write(endCode, codeWidth);
        return writer.finish();
    }

    int prefix = uchar(indexes[0]);
    for (qsizetype i = 1; i < indexes.size(); ++i) {
        const int index = uchar(indexes[i]);
        const std::size_t slot = std::size_t(prefix) * 256 + std::size_t(index);
        if (child[slot] >= 0) {
            prefix = child[slot];
            continue;
        }
        writer.write(prefix, codeWidth);
        if (nextCode < kMaxCodes) {
            child[slot] = std::int16_t(nextCode++);
            // The reader adds its entries one code later, so it widens once the code just
            // assigned no longer fits the current width.
            if (nextCode - 1 == (1 << codeWidth) && codeWidth < kMaxCodeBits)
                ++codeWidth;
        } else {
            // Table full: start over rather than keep coding with a stale table.
            writer.write(clearCode, codeWidth);
            std::fill(child.begin(), child.end(), std::int16_t(-1));
            nextCode = endCode + 1;
            codeWidth = minCodeSize + 1;
        }
        prefix = index;
    }
    writer.write(prefix, codeWidth);
    writer.write(endCode, codeWidth);
    return writer.finish();
}

QByteArray encodeGif(const QImage& image)
{
    const QImage indexed = image.format() == QImage::Format_Indexed8 ? image : toGifPalette(image);
    const int bits = bitsForColours(indexed.colorCount());
    const int tableSize = 1 << bits;

    QByteArray gif("GIF89a");
    appendWord(gif, indexed.width());
    appendWord(gif, indexed.height());
    // Global colour table present, 8 bits per primary, table of 2^bits entries.
    gif.append(char(0x80 | 0x70 | (bits - 1)));
    gif.append('\0'); // background colour index
    gif.append('\0'); // square pixels
    for (int i = 0; i < tableSize; ++i) {
        const QRgb colour = i < indexed.colorCount() ? indexed.color(i) : qRgb(0, 0, 0);
        gif.append(char(qRed(colour)));
        gif.append(char(qGreen(colour)));
        gif.append(char(qBlue(colour)));
    }

    gif.append(',');
    appendWord(gif, 0);
    appendWord(gif, 0);
    appendWord(gif, indexed.width());
    appendWord(gif, indexed.height());
    gif.append('\0'); // no local table, not interlaced

    gif.append(char(bits));
    appendSubBlocks(gif, lzwCompress(pixelIndexes(indexed), bits));
    gif.append(';');
    return gif;
}

} // namespace card
