// Following the value reader's record boundaries over a day file's bytes without reading values.
#pragma once

#include "core/records/record_table.h"

#include <QByteArrayView>

#include <algorithm>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace card {

// One bit per byte of a block of up to 64 bytes, bit i for the block's byte i.
struct ByteMasks {
    std::uint64_t quote = 0;
    std::uint64_t separator = 0; // comma, CR or LF
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
};

ByteMasks classifyBytes(const char* p, qsizetype length);

// The classes of 64 bytes, 16 at a time; inline, as it runs once a block.
inline ByteMasks classifyFullBlock(const char* p)
{
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const auto bits = [](__m128i equal, int chunk) {
        return static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(equal)))
               << (16 * chunk);
    };
    ByteMasks masks;
    std::uint64_t commas = 0;
    for (int k = 0; k < 4; ++k) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        masks.quote |= bits(_mm_cmpeq_epi8(chunk, quote), k);
        commas |= bits(_mm_cmpeq_epi8(chunk, comma), k);
        masks.cr |= bits(_mm_cmpeq_epi8(chunk, cr), k);
        masks.lf |= bits(_mm_cmpeq_epi8(chunk, lf), k);
    }
    masks.separator = commas | masks.cr | masks.lf;
    return masks;
#else
    return classifyBytes(p, 64);
#endif
}

// A value the walk passed: the bytes from where the value reader begins it to the separator
// that ends it (or the end of the bytes), unread.
struct WalkedValue {
    int index = 0; // its place in its record, 0 to 3
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype recordStart = 0; // where its record begins
    qsizetype next = 0;        // where the value after it begins
};

// Follows the value reader's record boundaries over the bytes, 64 at a time: every value ends
// at one separator outside quotes (CR LF counting once), so the record boundaries are every
// fourth such separator. Quotes are followed as pairs, which is the reader's own reading as
// long as every quote that opens stands right after a separator or at the first value; where
// one does not, the walk gives up before the block that holds it.
class RecordWalker {
public:
    static constexpr qsizetype kBlock = 64;

    // from: where a record begins.
    RecordWalker(QByteArrayView content, qsizetype from)
        : m_content(content)
        , m_position(from)
        , m_recordStart(from)
        , m_valueStart(from)
    {}

    // Walks up to (not including) to, handing each value whose separator it passes to
    // onValue(const WalkedValue&); false, having stopped at the start of a block, when the
    // layout cannot be followed there.
    template <typename OnValue> bool walkTo(qsizetype to, OnValue&& onValue)
    {
        return walkBlocks(to, [&](std::uint64_t counted) {
            for (; counted != 0; counted &= counted - 1) {
                const qsizetype at = m_position + std::countr_zero(counted);
                passValue(at, startAfterSeparator(at), onValue);
            }
        });
    }
    // Walks up to (not including) to for recordStart() alone: only each block's last record end
    // is located.
    bool walkTo(qsizetype to)
    {
        return walkBlocks(to, [&](std::uint64_t counted) { passRecordEnds(counted); });
    }
    // Walks 1 to 64 bytes whose classes the caller has found (bit i for the byte at
    // position() + i), as a search of the same block does on the way, without locating record
    // starts: ends gets the separators that end values, from which the caller finds a record's
    // start only where it needs one. recordStart() is left where it was. Parity::prefixXor
    // gives what prefixXor gives, with the instructions the caller has.
    template <typename Parity>
    [[gnu::always_inline]] bool walkValueEnds(const ByteMasks& masks, qsizetype length,
                                              std::uint64_t& ends)
    {
        if (!valueEnds<Parity>(masks, lowBits(length), ends))
            return false;
        m_position += length;
        return true;
    }

    // walkTo for whole records only: onRecord(start, next) for each record whose last
    // separator it passes, next being where the record after it begins. Only the separators
    // that end records are located.
    template <typename OnRecord> bool walkRecordsTo(qsizetype to, OnRecord&& onRecord)
    {
        return walkBlocks(to, [&](std::uint64_t counted) {
            int left = std::popcount(counted);
            while (m_valuesInRecord + left >= kRecordFieldCount) {
                left -= kRecordFieldCount - m_valuesInRecord;
                for (int skip = kRecordFieldCount - 1 - m_valuesInRecord; skip > 0; --skip)
                    counted &= counted - 1;
                const qsizetype next = startAfterSeparator(m_position + std::countr_zero(counted));
                counted &= counted - 1;
                onRecord(m_recordStart, next);
                m_recordStart = m_valueStart = next;
                m_valuesInRecord = 0;
            }
            m_valuesInRecord += left;
            if (counted != 0)
                m_valueStart = startAfterSeparator(m_position + 63 - std::countl_zero(counted));
        });
    }

    // Once walked to the end: hands the value the bytes end in, if they end inside one.
    template <typename OnValue> void finish(OnValue&& onValue)
    {
        if (m_valueStart < m_content.size())
            passValue(m_content.size(), m_content.size(), onValue);
    }

    // Once walked to the end by records: hands the record the bytes end in, if their last value
    // completes it.
    template <typename OnRecord> void finishRecords(OnRecord&& onRecord)
    {
        if (m_valueStart < m_content.size() && m_valuesInRecord == kRecordFieldCount - 1)
            onRecord(m_recordStart, m_content.size());
    }

    // Where the walk has got to, and where the record holding the last byte walked begins.
    qsizetype position() const { return m_position; }
    qsizetype recordStart() const { return m_recordStart; }

    // Where the value after the separator at separator begins: past the LF of a CR LF. Without
    // branches: commas and line ends alternate too irregularly to be predicted.
    qsizetype startAfterSeparator(qsizetype separator) const
    {
        const char* data = m_content.data();
        const qsizetype next = separator + 1;
        const char after = next < m_content.size() ? data[next] : '\0';
        const bool crLf = (data[separator] == '\r') & (after == '\n');
        return next + static_cast<qsizetype>(crLf);
    }

    // Bits 0 to count - 1, for the first count bytes of a block.
    static std::uint64_t lowBits(qsizetype count)
    {
        return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
    }

    // Bit i set when an odd number of bits 0 to i are set: with the bits of a block's quotes,
    // the bytes inside quotes and their opening quotes.
    static std::uint64_t prefixXor(std::uint64_t bits)
    {
        bits ^= bits << 1;
        bits ^= bits << 2;
        bits ^= bits << 4;
        bits ^= bits << 8;
        bits ^= bits << 16;
        bits ^= bits << 32;
        return bits;
    }

private:
    // Hands onBlock the separators of each block that end values, one bit per byte.
    template <typename OnBlock> bool walkBlocks(qsizetype to, OnBlock&& onBlock)
    {
        while (m_position < to) {
            const qsizetype length = std::min(kBlock, to - m_position);
            const char* p = m_content.data() + m_position;
            const bool whole = m_content.size() - m_position >= kBlock;
            const ByteMasks masks = whole ? classifyFullBlock(p) : classifyBytes(p, length);
            std::uint64_t counted = 0;
            if (!valueEnds<RecordWalker>(masks, lowBits(length), counted))
                return false;
            onBlock(counted);
            m_position += length;
        }
        return true;
    }

    template <typename Parity>
    [[gnu::always_inline]] bool valueEnds(const ByteMasks& masks, std::uint64_t inBlock,
                                          std::uint64_t& counted)
    {
        const std::uint64_t quote = masks.quote & inBlock;
        const std::uint64_t quoted =
            Parity::prefixXor(quote) ^ (m_inQuotes ? ~std::uint64_t{0} : 0);
        const std::uint64_t separator = masks.separator & inBlock & ~quoted;
        const std::uint64_t afterSeparator = separator << 1 | (m_afterSeparator ? 1 : 0);
        const std::uint64_t opening = quote & quoted;
        if ((opening & ~afterSeparator) != 0)
            return false;
        const std::uint64_t crBefore = (masks.cr & separator) << 1 | (m_crBefore ? 1 : 0);
        counted = separator & ~(masks.lf & crBefore);
        const qsizetype last = std::bit_width(inBlock) - 1;
        m_inQuotes = (quoted >> last & 1) != 0;
        m_afterSeparator = (separator >> last & 1) != 0;
        m_crBefore = ((masks.cr & separator) >> last & 1) != 0;
        return true;
    }

    // The block's value ends for recordStart() alone: only its last record end is located.
    [[gnu::always_inline]] void passRecordEnds(std::uint64_t counted)
    {
        const int total = m_valuesInRecord + std::popcount(counted);
        m_valuesInRecord = total % kRecordFieldCount;
        if (total < kRecordFieldCount)
            return;
        // The block's last record ends at its last separator but those of the next record.
        for (int later = m_valuesInRecord; later > 0; --later)
            counted &= ~(std::uint64_t{1} << (63 - std::countl_zero(counted)));
        m_recordStart = startAfterSeparator(m_position + 63 - std::countl_zero(counted));
    }

    template <typename OnValue> void passValue(qsizetype end, qsizetype next, OnValue& onValue)
    {
        onValue(WalkedValue{m_valuesInRecord, m_valueStart, end, m_recordStart, next});
        m_valueStart = next;
        if (++m_valuesInRecord == kRecordFieldCount) {
            m_valuesInRecord = 0;
            m_recordStart = next;
        }
    }

    QByteArrayView m_content;
    qsizetype m_position;
    qsizetype m_recordStart;
    qsizetype m_valueStart;
    int m_valuesInRecord = 0;
    bool m_inQuotes = false;
    bool m_afterSeparator = true; // the first value begins at from
    bool m_crBefore = false;
};

// A walked value of any shape but a closed quote, for walkedValueSlice.
ValueSlice otherWalkedValueSlice(QByteArrayView content, const WalkedValue& value);

// The value the value reader reads from a walked value's bytes, without reading them again
// where their shape is plain (empty, quoted with nothing after the closing quote, unquoted
// without blanks or a leading '#'); the reader itself reads the rest. Inline, as it runs for
// every value of a day.
inline ValueSlice walkedValueSlice(QByteArrayView content, const WalkedValue& value)
{
    const qsizetype length = value.end - value.begin;
    const char* raw = content.data() + value.begin;
    if (length >= 2 && raw[0] == '"' && raw[length - 1] == '"')
        return ValueSlice{value.begin + 1, length - 2, false};
    return otherWalkedValueSlice(content, value);
}

} // namespace card
