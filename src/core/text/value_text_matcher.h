// Exact comparison of a file value's text with a typed text, decided on bytes where it can.
#pragma once

#include "core/text/text_decoding.h"
#include "core/text/value_reader.h"

#include <QByteArray>
#include <QString>

namespace card {

// Answers whether a value, taken as text (a number in its shortest decimal form, other values
// decoded), equals one given text: case-sensitive, no trimming. Most values settle on their
// bytes alone; only a value with non-ASCII bytes that differ from the text's own encoding is
// decoded, and the last value found different is remembered, so a column that repeats one
// other word (the other direction) is decoded about once, not once a record.
class ValueTextMatcher {
public:
    ValueTextMatcher(const QString& text, TextEncoding encoding);

    bool matches(QByteArrayView bytes, const ValueSlice& value) const;

private:
    bool matchesNumber(QByteArrayView number) const;
    bool matchesText(QByteArrayView raw) const;

    QString m_text;
    TextCodec m_codec;
    bool m_textIsAscii;
    QByteArray m_encoded;  // the text in the file's encoding, when it encodes losslessly
    bool m_encodedIsExact; // decoding m_encoded gives the text back
    mutable QByteArray m_lastMismatch;
};

} // namespace card
