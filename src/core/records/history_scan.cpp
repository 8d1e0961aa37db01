#include "core/records/history_scan.h"

#include "core/records/record_reader.h"
#include "core/text/value_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace card {

namespace {

constexpr qsizetype kBlock = 64;

// One bit per byte of a block of up to 64 bytes, bit i for the block's byte i.
struct ByteMasks {
    std::uint64_t quote = 0;
    std::uint64_t separator = 0; // comma, CR or LF
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
};

ByteMasks classifyBytes(const char* p, qsizetype length)
{
    ByteMasks masks;
    for (qsizetype i = 0; i < length; ++i) {
        const std::uint64_t bit = std::uint64_t{1} << i;
        switch (p[i]) {
        case '"':
            masks.quote |= bit;
            break;
        case ',':
            masks.separator |= bit;
            break;
        case '\r':
            masks.separator |= bit;
            masks.cr |= bit;
            break;
        case '\n':
            masks.separator |= bit;
            masks.lf |= bit;
            break;
        default:
            break;
        }
    }
    return masks;
}

#if defined(__SSE2__)
std::uint64_t maskOf(__m128i a, __m128i b, __m128i c, __m128i d)
{
    const auto bits = [](__m128i v) {
        return static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(v)));
    };
    return bits(a) | bits(b) << 16 | bits(c) << 32 | bits(d) << 48;
}

// The mask of the bytes of chunk equal to c.
std::uint64_t maskOfByte(const __m128i (&chunk)[4], char c)
{
    const __m128i wanted = _mm_set1_epi8(c);
    return maskOf(_mm_cmpeq_epi8(chunk[0], wanted), _mm_cmpeq_epi8(chunk[1], wanted),
                  _mm_cmpeq_epi8(chunk[2], wanted), _mm_cmpeq_epi8(chunk[3], wanted));
}

ByteMasks classifyFullBlock(const char* p)
{
    __m128i chunk[4];
    for (int k = 0; k < 4; ++k)
        chunk[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    ByteMasks masks;
    masks.quote = maskOfByte(chunk, '"');
    masks.cr = maskOfByte(chunk, '\r');
    masks.lf = maskOfByte(chunk, '\n');
    masks.separator = maskOfByte(chunk, ',') | masks.cr | masks.lf;
    return masks;
}
#else
ByteMasks classifyFullBlock(const char* p)
{
    return classifyBytes(p, kBlock);
}
#endif

// Bit i set when an odd number of bits 0 to i are set.
std::uint64_t prefixXor(std::uint64_t bits)
{
    for (int shift = 1; shift < 64; shift *= 2)
        bits ^= bits << shift;
    return bits;
}

std::uint64_t lowBits(qsizetype count)
{
    return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
}

// Follows the value reader's record boundaries over the bytes without reading the values:
// every value ends at one separator outside quotes (CR LF counting once), so the record
// boundaries are every fourth such separator. Quotes are followed as pairs, which is the
// reader's own reading as long as every quote that opens stands right after a separator or at
// the first value; where one does not, the walk gives up.
class RecordWalker {
public:
    RecordWalker(QByteArrayView content, qsizetype from)
        : m_content(content)
        , m_from(from)
        , m_position(from)
    {}

    // Walks up to (not including) to; false when the layout cannot be followed.
    bool walkTo(qsizetype to)
    {
        while (m_position < to) {
            const qsizetype length = std::min(kBlock, to - m_position);
            const char* p = m_content.data() + m_position;
            const bool whole = m_content.size() - m_position >= kBlock;
            ByteMasks masks = whole ? classifyFullBlock(p) : classifyBytes(p, length);
            if (!walkBlock(masks, lowBits(length)))
                return false;
            m_position += length;
        }
        return true;
    }

    // Where the record holding the byte walked to begins.
    qsizetype recordStart() const
    {
        return m_lastRecordEnd < 0 ? m_from : startAfterSeparator(m_lastRecordEnd);
    }

private:
    bool walkBlock(const ByteMasks& masks, std::uint64_t inBlock)
    {
        const std::uint64_t quote = masks.quote & inBlock;
        const std::uint64_t quoted = prefixXor(quote) ^ (m_inQuotes ? ~std::uint64_t{0} : 0);
        const std::uint64_t separator = masks.separator & inBlock & ~quoted;
        const std::uint64_t afterSeparator = separator << 1 | (m_afterSeparator ? 1 : 0);
        const std::uint64_t opening = quote & quoted;
        if ((opening & ~afterSeparator) != 0)
            return false;
        const std::uint64_t crBefore = (masks.cr & separator) << 1 | (m_crBefore ? 1 : 0);
        std::uint64_t counted = separator & ~(masks.lf & crBefore);
        const qsizetype last = std::bit_width(inBlock) - 1;
        m_inQuotes = (quoted >> last & 1) != 0;
        m_afterSeparator = (separator >> last & 1) != 0;
        m_crBefore = ((masks.cr & separator) >> last & 1) != 0;
        const int total = m_valuesInRecord + std::popcount(counted);
        if (total >= kRecordFieldCount) {
            // The block's last record ends at its last separator but those of the next record.
            for (int later = total % kRecordFieldCount; later > 0; --later)
                counted &= ~(std::uint64_t{1} << (63 - std::countl_zero(counted)));
            m_lastRecordEnd = m_position + 63 - std::countl_zero(counted);
        }
        m_valuesInRecord = total % kRecordFieldCount;
        return true;
    }

    qsizetype startAfterSeparator(qsizetype separator) const
    {
        const qsizetype next = separator + 1;
        const bool crLf =
            m_content[separator] == '\r' && next < m_content.size() && m_content[next] == '\n';
        return crLf ? next + 1 : next;
    }

    QByteArrayView m_content;
    qsizetype m_from;
    qsizetype m_position;
    qsizetype m_lastRecordEnd = -1; // the separator after the last complete record walked
    int m_valuesInRecord = 0;
    bool m_inQuotes = false;
    bool m_afterSeparator = true; // the first value begins at from
    bool m_crBefore = false;
};

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char foldedByte(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Both sides are folded: a byte of a code page 950 character may be an ASCII letter's.
bool equalAt(const char* p, QByteArrayView needle, bool foldCase)
{
    if (!foldCase)
        return std::memcmp(p, needle.data(), static_cast<size_t>(needle.size())) == 0;
    for (qsizetype i = 0; i < needle.size(); ++i) {
        if (foldedByte(p[i]) != foldedByte(needle[i]))
            return false;
    }
    return true;
}

// The first place at or after from where needle occurs in content, ASCII letters compared
// without case when foldCase; -1 when none. Sixteen places
// at a time are tested on the needle's first and last bytes before the rest is compared.
qsizetype findRequired(QByteArrayView content, qsizetype from, QByteArrayView needle, bool foldCase)
{
    const qsizetype lastByte = needle.size() - 1;
    const char* data = content.data();
    const qsizetype lastStart = content.size() - needle.size();
    qsizetype i = from;
#if defined(__SSE2__)
    const bool foldFirst = foldCase && isAsciiLetter(needle[0]);
    const bool foldLast = foldCase && isAsciiLetter(needle[lastByte]);
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i first =
        foldFirst ? _mm_or_si128(_mm_set1_epi8(needle[0]), caseBit) : _mm_set1_epi8(needle[0]);
    const __m128i last = foldLast ? _mm_or_si128(_mm_set1_epi8(needle[lastByte]), caseBit)
                                  : _mm_set1_epi8(needle[lastByte]);
    for (; i + 16 <= lastStart + 1; i += 16) {
        __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i atLast = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + lastByte));
        if (foldFirst)
            atFirst = _mm_or_si128(atFirst, caseBit);
        if (foldLast)
            atLast = _mm_or_si128(atLast, caseBit);
        auto candidates = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(atFirst, first), _mm_cmpeq_epi8(atLast, last))));
        while (candidates != 0) {
            const qsizetype at = i + std::countr_zero(candidates);
            if (equalAt(data + at, needle, foldCase))
                return at;
            candidates &= candidates - 1;
        }
    }
#endif
    for (; i <= lastStart; ++i) {
        if (equalAt(data + i, needle, foldCase))
            return i;
    }
    return -1;
}

} // namespace

std::vector<qsizetype> readHistoryRecords(QByteArrayView content, qsizetype from,
                                          const HistoryRecordTest& test)
{
    std::vector<qsizetype> starts;
    ValueReader reader(content, from);
    RecordSlices record;
    while (!reader.atEnd()) {
        const qsizetype start = reader.position();
        if (!readRecord(reader, record))
            break;
        if (test.keeps(content, record))
            starts.push_back(start);
    }
    return starts;
}

std::vector<qsizetype> scanHistoryRecords(QByteArrayView content, qsizetype from,
                                          const HistoryRecordTest& test)
{
    if (!test.requiredBytes())
        return readHistoryRecords(content, from, test);
    const QByteArrayView needle(*test.requiredBytes());
    std::vector<qsizetype> starts;
    RecordWalker walker(content, from);
    qsizetype searchFrom = from;
    for (;;) {
        const qsizetype hit = findRequired(content, searchFrom, needle, test.ignoresAsciiCase());
        if (hit < 0)
            return starts;
        if (!walker.walkTo(hit))
            return readHistoryRecords(content, from, test);
        const qsizetype start = walker.recordStart();
        ValueReader reader(content, start);
        RecordSlices record;
        if (!readRecord(reader, record))
            return starts;
        if (test.keeps(content, record))
            starts.push_back(start);
        searchFrom = std::max(reader.position(), hit + 1);
    }
}

} // namespace card
