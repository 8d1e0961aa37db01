#include "core/records/record_walker.h"

#include "core/text/value_reader.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace card {

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
namespace {

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

} // namespace

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
    return classifyBytes(p, RecordWalker::kBlock);
}
#endif

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The walk has already given up on any quote after a closing one, so a value that begins
// with a quote and ends in one holds no other.
bool isClosedQuote(QByteArrayView raw)
{
    return raw.size() >= 2 && raw.front() == '"' && raw.back() == '"';
}

bool isPlainUnquoted(QByteArrayView raw)
{
    const char first = raw.front();
    return first != '"' && first != '#' && !isBlank(first) && !isBlank(raw.back());
}

} // namespace

ValueSlice walkedValueSlice(QByteArrayView content, const WalkedValue& value)
{
    const QByteArrayView raw = content.sliced(value.begin, value.end - value.begin);
    if (raw.isEmpty())
        return ValueSlice{value.begin, 0, false};
    if (isClosedQuote(raw))
        return ValueSlice{value.begin + 1, raw.size() - 2, false};
    if (isPlainUnquoted(raw))
        return ValueSlice{value.begin, raw.size(), isPlainDecimalNumber(raw)};
    ValueReader reader(content, value.begin);
    ValueSlice slice;
    reader.next(slice);
    return slice;
}

} // namespace card
