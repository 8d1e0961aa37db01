#include "core/text/value_reader.h"

#include "core/text/text_decoding.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace card {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isSeparator(char c)
{
    return c == ',' || isLineEnd(c);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr std::uint64_t broadcast(char c)
{
    return 0x0101010101010101ULL * static_cast<unsigned char>(c);
}

// High bit set in every byte of word that is zero (exact, no false positives).
constexpr std::uint64_t zeroBytes(std::uint64_t word)
{
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
    return ~(((word & low7) + low7) | word | low7);
}

// Position of the first comma, CR or LF at or after from, or end. Eight bytes at a time: record
// lines are short but a million of them make this the hot loop of the query.
qsizetype findSeparator(const char* data, qsizetype from, qsizetype end)
{
    qsizetype i = from;
    for (; i + 8 <= end; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, sizeof word);
        const std::uint64_t hits = zeroBytes(word ^ broadcast(',')) |
                                   zeroBytes(word ^ broadcast('\n')) |
                                   zeroBytes(word ^ broadcast('\r'));
        if (hits != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return i + std::countr_zero(hits) / 8;
            else
                return i + std::countl_zero(hits) / 8;
        }
    }
    while (i < end && !isSeparator(data[i]))
        ++i;
    return i;
}

} // namespace

ValueReader::ValueReader(QByteArrayView bytes)
    : m_bytes(bytes)
{}

ValueReader::ValueReader(QByteArrayView bytes, qsizetype from)
    : m_bytes(bytes)
    , m_pos(from)
{}

bool ValueReader::next(ValueSlice& value)
{
    if (atEnd())
        return false;
    const qsizetype size = m_bytes.size();
    while (m_pos < size && isBlank(m_bytes[m_pos]))
        ++m_pos;
    value = ValueSlice{m_pos, 0, false};
    if (m_pos == size)
        return true;
    const char first = m_bytes[m_pos];
    if (first == '"') {
        readDelimited('"', value);
    } else if (first == '#') {
        readDelimited('#', value);
    } else {
        readUnquoted(value);
    }
    return true;
}

void ValueReader::readDelimited(char delimiter, ValueSlice& value)
{
    const char* data = m_bytes.data();
    const qsizetype size = m_bytes.size();
    const qsizetype open = m_pos;
    if (delimiter == '#') {
        // A '#' that is not closed before the next separator is ordinary text.
        const qsizetype separator = findSeparator(data, open + 1, size);
        const void* close =
            std::memchr(data + open + 1, '#', static_cast<size_t>(separator - open - 1));
        if (close == nullptr) {
            readUnquoted(value);
            return;
        }
    }
    const void* close =
        std::memchr(data + open + 1, delimiter, static_cast<size_t>(size - open - 1));
    const qsizetype closePos = close ? static_cast<const char*>(close) - data : size;
    value = ValueSlice{open + 1, closePos - open - 1, false};
    m_pos = closePos < size ? closePos + 1 : size;
    skipToSeparator();
    consumeSeparator();
}

void ValueReader::readUnquoted(ValueSlice& value)
{
    const char* data = m_bytes.data();
    const qsizetype begin = m_pos;
    const qsizetype separator = findSeparator(data, begin, m_bytes.size());
    qsizetype end = separator;
    while (end > begin && isBlank(data[end - 1]))
        --end;
    const QByteArrayView text(data + begin, end - begin);
    value = ValueSlice{begin, end - begin, isPlainDecimalNumber(text)};
    m_pos = separator;
    consumeSeparator();
}

void ValueReader::skipToSeparator()
{
    m_pos = findSeparator(m_bytes.data(), m_pos, m_bytes.size());
}

void ValueReader::consumeSeparator()
{
    const qsizetype size = m_bytes.size();
    if (m_pos >= size)
        return;
    const char c = m_bytes[m_pos++];
    if (c == '\r' && m_pos < size && m_bytes[m_pos] == '\n')
        ++m_pos;
}

bool isPlainDecimalNumber(QByteArrayView text)
{
    qsizetype i = 0;
    const qsizetype size = text.size();
    if (i < size && (text[i] == '+' || text[i] == '-'))
        ++i;
    const qsizetype integerStart = i;
    while (i < size && isDigit(text[i]))
        ++i;
    if (i == integerStart)
        return false;
    if (i == size)
        return true;
    if (text[i] != '.')
        return false;
    const qsizetype fractionStart = ++i;
    while (i < size && isDigit(text[i]))
        ++i;
    return i > fractionStart && i == size;
}

CanonicalNumberParts canonicalNumberParts(QByteArrayView text)
{
    const bool negative = text.startsWith('-');
    if (text.startsWith('-') || text.startsWith('+'))
        text = text.sliced(1);
    const qsizetype point = text.indexOf('.');
    const qsizetype integerEnd = point < 0 ? text.size() : point;
    qsizetype begin = 0;
    while (integerEnd - begin > 1 && text[begin] == '0')
        ++begin;
    qsizetype end = text.size();
    if (point >= 0) {
        while (end > point + 1 && text[end - 1] == '0')
            --end;
        if (end == point + 1)
            end = point; // no fraction digits left: the point goes too
    }
    const QByteArrayView digits = text.sliced(begin, end - begin);
    return {negative && digits != "0", digits};
}

QByteArray canonicalNumber(QByteArrayView text)
{
    const CanonicalNumberParts parts = canonicalNumberParts(text);
    QByteArray result;
    result.reserve(parts.digits.size() + 1);
    if (parts.negative)
        result += '-';
    result += parts.digits;
    return result;
}

QString valueText(QByteArrayView bytes, const ValueSlice& value, const TextCodec& codec)
{
    const QByteArrayView raw = bytes.sliced(value.begin, value.length);
    if (value.isNumber)
        return QString::fromLatin1(canonicalNumber(raw));
    return codec.decode(raw);
}

} // namespace card
