// Exact comparison of a file value's text with a typed text, decided on bytes where it can.
#pragma once

#include "core/text/text_decoding.h"
#include "core/text/value_reader.h"

#include <QByteArray>
#include <QString>

namespace card {

// Answers whether a value, taken as text (a number in its shortest decimal form, other values
// decoded in their record's encoding), equals one given text: case-sensitive, no trimming.
// Most values settle on their bytes alone: the text's own bytes in an encoding that the value's
// bytes cannot be read in otherwise. Only a value with other non-ASCII bytes is decoded, and the
// last one that can never give the text is remembered, so a column that repeats one other word
// (the other direction) is decoded about once, not once a record.
class ValueTextMatcher {
public:
    explicit ValueTextMatcher(const QString& text);

    // value lies in bytes inside record, the bytes its encoding is decided on.
    bool matches(QByteArrayView bytes, const ValueSlice& value, QByteArrayView record) const
    {
        return matchesSure950(bytes, value) || matchesOther(bytes, value, record);
    }

    // Whether value holds the text's own code page 950 bytes, the most common match in a day
    // file: true means it matches, false leaves it to matches. Compared inline, byte by byte,
    // as the bytes are few.
    bool matchesSure950(QByteArrayView bytes, const ValueSlice& value) const
    {
        if (value.isNumber || value.length != m_sure950.size() || value.length == 0)
            return false;
        const char* at = bytes.data() + value.begin;
        for (qsizetype k = 0; k < value.length; ++k) {
            if (at[k] != m_sure950[k])
                return false;
        }
        return true;
    }

    // The text's code page 950 bytes when no UTF-8 record can hold them (matchesSure950), or
    // none.
    QByteArrayView sure950() const { return m_sure950; }

private:
    bool matchesOther(QByteArrayView bytes, const ValueSlice& value, QByteArrayView record) const;
    bool matchesNumber(QByteArrayView number) const;
    bool matchesText(QByteArrayView raw, QByteArrayView record) const;

    QString m_text;
    RecordCodecs m_codecs;
    bool m_textIsAscii;
    QByteArray m_ascii;             // the text's bytes when it is ASCII
    QByteArray m_sure950;           // its code page 950 bytes when no UTF-8 record can hold them
    QByteArray m_utf8;              // its UTF-8 bytes
    bool m_utf8Is950Too;            // which read as the text in code page 950 as well
    mutable QByteArray m_lastNever; // bytes that give another text in either encoding
};

} // namespace card
