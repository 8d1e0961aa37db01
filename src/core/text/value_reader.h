// The value syntax shared by the parameter file and the daily record file, read over bytes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace card {

class TextCodec;

// One value of a file: a slice of the file's bytes. Separators are found on bytes (comma,
// double quote, CR and LF never occur inside a code page 950 or UTF-8 character), so the text
// is decoded only when it is needed.
struct ValueSlice {
    qsizetype begin = 0;
    qsizetype length = 0;
    // An unquoted plain decimal number: used as text in its shortest decimal form.
    bool isNumber = false;
};

// Reads values one after another:
// - blanks and tabs before a value are skipped;
// - "..." runs to the next double quote (commas and line ends inside belong to the value);
//   #...# is held as the text between the signs; text after the closing sign up to the next
//   separator is ignored;
// - any other value runs to the next comma or line end (CR LF, lone CR or lone LF), without
//   its trailing blanks and tabs;
// - two separators in a row give an empty value.
class ValueReader {
public:
    explicit ValueReader(QByteArrayView bytes);
    // Starts reading at from, which must be where a value begins (or the end).
    ValueReader(QByteArrayView bytes, qsizetype from);

    bool atEnd() const { return m_pos >= m_bytes.size(); }

    // Reads the next value into value; false, leaving value untouched, when already at the end.
    bool next(ValueSlice& value);

    // Where the next value begins.
    qsizetype position() const { return m_pos; }

private:
    void readDelimited(char delimiter, ValueSlice& value);
    void readUnquoted(ValueSlice& value);
    void skipToSeparator();
    void consumeSeparator();

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// An optional sign, digits, and optionally a decimal point with more digits.
bool isPlainDecimalNumber(QByteArrayView text);

// The shortest exact decimal form of a plain decimal number: 007 gives 7, 2.50 gives 2.5,
// -0 gives 0, +5 gives 5. Digits are never rounded, so a long card number stays intact.
QByteArray canonicalNumber(QByteArrayView text);

// The same form without a copy: a minus sign or none, then a run of the number's own bytes
// (leading zeros and trailing fraction zeros cut off), so a million values cost no allocation.
struct CanonicalNumberParts {
    bool negative = false;
    QByteArrayView digits;
};
CanonicalNumberParts canonicalNumberParts(QByteArrayView text);

// The value as text: its bytes decoded, or the canonical form of a number.
QString valueText(QByteArrayView bytes, const ValueSlice& value, const TextCodec& codec);

} // namespace card
