#include "core/records/record_walker.h"

#include "core/text/value_reader.h"

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

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The walk has already given up on any quote after a closing one, so a value that begins
// with a quote and ends in one holds no other.
bool isPlainUnquoted(QByteArrayView raw)
{
    const char first = raw.front();
    return first != '"' && first != '#' && !isBlank(first) && !isBlank(raw.back());
}

} // namespace

ValueSlice otherWalkedValueSlice(QByteArrayView content, const WalkedValue& value)
{
    const QByteArrayView raw = content.sliced(value.begin, value.end - value.begin);
    if (raw.isEmpty())
        return ValueSlice{value.begin, 0, false};
    if (isPlainUnquoted(raw))
        return ValueSlice{value.begin, raw.size(), isPlainDecimalNumber(raw)};
    ValueReader reader(content, value.begin);
    ValueSlice slice;
    reader.next(slice);
    return slice;
}

} // namespace card
