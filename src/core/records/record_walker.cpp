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
ByteMasks classifyFullBlock(const char* p)
{
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
