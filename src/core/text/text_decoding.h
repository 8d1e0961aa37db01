// How the bytes of the product's text files become text.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace card {

// Record and parameter files come from Windows machines in code page 950 (Big5 with the
// Windows extensions); newer installations write UTF-8.
enum class TextEncoding { Utf8, Windows950 };

// A file that is valid UTF-8 (with or without a byte order mark) is read as UTF-8, any other
// as code page 950. A multi-byte sequence cut off at the very end still counts as valid, because
// today's file may be caught in the middle of a write.
TextEncoding detectEncoding(QByteArrayView bytes);

// True when every byte is ASCII: the same text in both encodings.
bool isAscii(QByteArrayView bytes);

// How one record of a day file decodes, decided on the record's own bytes (from where it
// begins to the end of its last value), so that every reader decides alike whenever and from
// wherever it reads the file: a record that holds a non-ASCII byte, is valid UTF-8 and is not
// valid code page 950 is UTF-8; every other record is code page 950. So a code page 950 file
// reads as it always has, UTF-8 records appended to it read as UTF-8, and the records of a
// UTF-8 file read as UTF-8 (進 and 出 in UTF-8 are never valid code page 950).
TextEncoding recordEncoding(QByteArrayView record);

// Length of a UTF-8 byte order mark at the start of bytes: 3 or 0.
qsizetype utf8BomLength(QByteArrayView bytes);

// The text in code page 950, or nothing when a character has no code there (or this Qt has
// no converter for it): the one place that writes code page 950, for tools and tests.
std::optional<QByteArray> encodeCodePage950(QStringView text);

// Decodes and encodes short pieces of text in one encoding. Undecodable bytes become
// replacement characters; decoding never fails.
class TextCodec {
public:
    explicit TextCodec(TextEncoding encoding);

    QString decode(QByteArrayView bytes) const;
    QByteArray encode(QStringView text) const;
    TextEncoding encoding() const { return m_encoding; }

private:
    TextEncoding m_encoding;
    mutable QStringDecoder m_decoder;
    mutable QStringEncoder m_encoder;
};

// The codecs of both encodings, handing out the one of a record (recordEncoding).
class RecordCodecs {
public:
    RecordCodecs();

    const TextCodec& of(TextEncoding encoding) const;
    const TextCodec& forRecord(QByteArrayView record) const { return of(recordEncoding(record)); }

private:
    TextCodec m_utf8;
    TextCodec m_codePage950;
};

} // namespace card
