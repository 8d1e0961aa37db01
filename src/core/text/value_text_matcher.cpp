#include "core/text/value_text_matcher.h"

namespace card {

namespace {

bool isAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// The text's code page 950 bytes when they decode back to it and are not valid UTF-8: a value
// with exactly these bytes lies in a code page 950 record, whatever the rest of the record.
QByteArray sureCodePage950(const QString& text, const RecordCodecs& codecs)
{
    const TextCodec& codec = codecs.of(TextEncoding::Windows950);
    QByteArray bytes = codec.encode(text);
    const bool exact = codec.decode(bytes) == text;
    const bool validUtf8 = codecs.of(TextEncoding::Utf8).decode(bytes).toUtf8() == bytes;
    return exact && !validUtf8 ? bytes : QByteArray();
}

} // namespace

ValueTextMatcher::ValueTextMatcher(const QString& text)
    : m_text(text)
    , m_textIsAscii(isAscii(text))
    , m_ascii(m_textIsAscii ? text.toLatin1() : QByteArray())
    , m_sure950(m_textIsAscii ? QByteArray() : sureCodePage950(text, m_codecs))
    , m_utf8(text.toUtf8())
    , m_utf8Is950Too(m_codecs.of(TextEncoding::Windows950).decode(m_utf8) == text)
{}

bool ValueTextMatcher::matchesOther(QByteArrayView bytes, const ValueSlice& value,
                                    QByteArrayView record) const
{
    const QByteArrayView raw = bytes.sliced(value.begin, value.length);
    return value.isNumber ? matchesNumber(raw) : matchesText(raw, record);
}

bool ValueTextMatcher::matchesNumber(QByteArrayView number) const
{
    // A number's text is ASCII: the typed text is compared with it byte for byte.
    if (!m_textIsAscii)
        return false;
    const CanonicalNumberParts parts = canonicalNumberParts(number);
    const QByteArrayView typed(m_ascii);
    if (parts.negative)
        return typed.startsWith('-') && typed.sliced(1) == parts.digits;
    return typed == parts.digits;
}

bool ValueTextMatcher::matchesText(QByteArrayView raw, QByteArrayView record) const
{
    // ASCII bytes are their own text in both encodings, and no other bytes give ASCII text.
    if (isAscii(raw) || m_textIsAscii)
        return m_textIsAscii && raw == QByteArrayView(m_ascii);
    if (!m_sure950.isEmpty() && raw == QByteArrayView(m_sure950))
        return true;
    if (raw == QByteArrayView(m_utf8))
        return m_utf8Is950Too || recordEncoding(record) == TextEncoding::Utf8;
    if (raw == QByteArrayView(m_lastNever))
        return false;
    const bool asUtf8 = m_codecs.of(TextEncoding::Utf8).decode(raw) == m_text;
    const bool as950 = m_codecs.of(TextEncoding::Windows950).decode(raw) == m_text;
    if (!asUtf8 && !as950) {
        m_lastNever = raw.toByteArray();
        return false;
    }
    return asUtf8 == as950 || asUtf8 == (recordEncoding(record) == TextEncoding::Utf8);
}

} // namespace card
