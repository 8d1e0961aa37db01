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

private:
    TextEncoding m_encoding;
    mutable QStringDecoder m_decoder;
    mutable QStringEncoder m_encoder;
};

} // namespace card
