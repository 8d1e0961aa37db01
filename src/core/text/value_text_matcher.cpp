#include "core/text/value_text_matcher.h"

namespace card {

namespace {

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool isAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

ValueTextMatcher::ValueTextMatcher(const QString& text, TextEncoding encoding)
    : m_text(text)
    , m_codec(encoding)
    , m_textIsAscii(isAscii(text))
    , m_encoded(m_codec.encode(text))
    , m_encodedIsExact(m_codec.decode(m_encoded) == text)
{}

bool ValueTextMatcher::matches(QByteArrayView bytes, const ValueSlice& value) const
{
    const QByteArrayView raw = bytes.sliced(value.begin, value.length);
    return value.isNumber ? matchesNumber(raw) : matchesText(raw);
}

bool ValueTextMatcher::matchesNumber(QByteArrayView number) const
{
    // A number's text is ASCII: the typed text is compared with it byte for byte.
    if (!m_textIsAscii)
        return false;
    const CanonicalNumberParts parts = canonicalNumberParts(number);
    const QByteArrayView typed(m_encoded);
    if (parts.negative)
        return typed.startsWith('-') && typed.sliced(1) == parts.digits;
    return typed == parts.digits;
}

bool ValueTextMatcher::matchesText(QByteArrayView raw) const
{
    if (m_encodedIsExact && raw == QByteArrayView(m_encoded))
        return true;
    // ASCII bytes are their own text in both encodings: an ASCII text has been compared above,
    // and any other text has a character that ASCII bytes cannot give.
    if (isAscii(raw))
        return false;
    // A few characters have two codes in code page 950, so other bytes may still give the text.
    if (raw == QByteArrayView(m_lastMismatch))
        return false;
    if (m_codec.decode(raw) == m_text)
        return true;
    m_lastMismatch = raw.toByteArray();
    return false;
}

} // namespace card
