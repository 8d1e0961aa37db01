#include "core/text/text_decoding.h"

#include <QList>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace card {

namespace {

// ICU's name for code page 950 with the Windows extensions; "CP950" is an IBM variant without
// them (no euro sign, no F9D6).
constexpr const char* kWindows950Name = "windows-950";

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence starting at p, 0 when it is malformed, or -1 when it
// is a correct prefix cut off by the end of the buffer.
int utf8SequenceLength(const unsigned char* p, const unsigned char* end)
{
    const unsigned char lead = p[0];
    int length = 0;
    unsigned char minSecond = 0x80;
    unsigned char maxSecond = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            minSecond = 0xA0; // overlong
        if (lead == 0xED)
            maxSecond = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            minSecond = 0x90; // overlong
        if (lead == 0xF4)
            maxSecond = 0x8F; // beyond U+10FFFF
    } else {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if (p + i == end)
            return -1;
        const unsigned char byte = p[i];
        if (i == 1 ? (byte < minSecond || byte > maxSecond) : !isContinuation(byte))
            return 0;
    }
    return length;
}

bool isValidUtf8(QByteArrayView bytes)
{
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto end = p + bytes.size();
    while (p < end) {
        // Fast path: eight ASCII bytes at a time.
        if (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const int length = utf8SequenceLength(p, end);
        if (length == 0)
            return false;
        if (length < 0)
            return true; // cut off at the end of the buffer
        p += length;
    }
    return true;
}

// Every non-ASCII byte is a lead byte (81 to FE) followed by a trail byte (40 to 7E, A1 to FE).
bool isValidCodePage950(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80)
            continue;
        if (lead == 0x80 || lead == 0xFF || ++i == bytes.size())
            return false;
        const auto trail = static_cast<unsigned char>(bytes[i]);
        if (!((trail >= 0x40 && trail <= 0x7E) || (trail >= 0xA1 && trail <= 0xFE)))
            return false;
    }
    return true;
}

// True when bytes end in a code page 950 lead byte whose trail byte is missing.
bool endsInLoneLeadByte(QByteArrayView bytes)
{
    if (bytes.isEmpty() || static_cast<unsigned char>(bytes.back()) < 0x81)
        return false;
    qsizetype i = 0;
    while (i < bytes.size())
        i += static_cast<unsigned char>(bytes[i]) < 0x81 ? 1 : 2;
    return i > bytes.size();
}

// Code page 950's two-byte characters by lead byte 0x81 to 0xFE and trail byte 0x40 to 0xFE,
// as the converter decodes each pair alone; 0 where it gives anything but one character.
class CodePage950Pairs {
public:
    static constexpr int kFirstLead = 0x81;
    static constexpr int kFirstTrail = 0x40;
    static constexpr int kTrails = 0xFF - kFirstTrail;

    CodePage950Pairs()
        : m_characters(static_cast<std::size_t>((0xFF - kFirstLead) * kTrails), 0)
    {
        // Every pair once, each followed by a line end that no trail byte can be, in one call:
        // a pair the converter does not take apart into several characters gives one line.
        QByteArray pairs;
        pairs.reserve(static_cast<qsizetype>(m_characters.size()) * 3);
        for (int lead = kFirstLead; lead < 0xFF; ++lead) {
            for (int trail = kFirstTrail; trail < 0xFF; ++trail)
                pairs.append(static_cast<char>(lead)).append(static_cast<char>(trail)).append('\n');
        }
        QStringDecoder decoder(kWindows950Name, QStringDecoder::Flag::Stateless);
        const QString text = decoder.decode(pairs);
        const QList<QStringView> lines = QStringView(text).split(u'\n');
        if (lines.size() != static_cast<qsizetype>(m_characters.size()) + 1)
            return;
        for (std::size_t k = 0; k < m_characters.size(); ++k) {
            const QStringView line = lines[static_cast<qsizetype>(k)];
            if (line.size() == 1 && line[0] != QChar::ReplacementCharacter &&
                !line[0].isSurrogate())
                m_characters[k] = line[0].unicode();
        }
    }

    // The character of lead and trail, or 0.
    char16_t of(unsigned char lead, unsigned char trail) const
    {
        if (lead < kFirstLead || lead == 0xFF || trail < kFirstTrail || trail == 0xFF)
            return 0;
        return m_characters[static_cast<std::size_t>((lead - kFirstLead) * kTrails +
                                                     (trail - kFirstTrail))];
    }

private:
    std::vector<char16_t> m_characters;
};

// bytes decoded through the pair table where every byte is ASCII or in a pair it holds, which
// is nearly every value of a day file: a few table look-ups instead of a converter's call.
std::optional<QString> decodeThroughPairs(QByteArrayView bytes)
{
    static const CodePage950Pairs pairs;
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    qsizetype length = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            out[length++] = QChar(byte);
            continue;
        }
        if (i + 1 == bytes.size())
            return std::nullopt;
        const char16_t character = pairs.of(byte, static_cast<unsigned char>(bytes[++i]));
        if (character == 0)
            return std::nullopt;
        out[length++] = QChar(character);
    }
    text.truncate(length);
    return text;
}

} // namespace

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

qsizetype utf8BomLength(QByteArrayView bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

TextEncoding detectEncoding(QByteArrayView bytes)
{
    return isValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows950;
}

TextEncoding recordEncoding(QByteArrayView record)
{
    // A code page 950 record is seldom valid UTF-8, so that test goes first: it fails early.
    const bool utf8 = !isAscii(record) && isValidUtf8(record) && !isValidCodePage950(record);
    return utf8 ? TextEncoding::Utf8 : TextEncoding::Windows950;
}

std::optional<QByteArray> encodeCodePage950(QStringView text)
{
    QStringEncoder encoder(kWindows950Name, QStringEncoder::Flag::Stateless);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

TextCodec::TextCodec(TextEncoding encoding)
    : m_encoding(encoding)
    , m_decoder(encoding == TextEncoding::Utf8
                    ? QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless)
                    : QStringDecoder(kWindows950Name, QStringDecoder::Flag::Stateless))
    , m_encoder(encoding == TextEncoding::Utf8
                    ? QStringEncoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless)
                    : QStringEncoder(kWindows950Name, QStringEncoder::Flag::Stateless))
{}

QString TextCodec::decode(QByteArrayView bytes) const
{
    if (m_encoding == TextEncoding::Windows950) {
        if (std::optional<QString> text = decodeThroughPairs(bytes))
            return *std::move(text);
    }
    m_decoder.resetState();
    QString text = m_decoder.decode(bytes);
    // The converter drops a lead byte cut off at the end; the operator should see that
    // something was there.
    if (m_encoding == TextEncoding::Windows950 && endsInLoneLeadByte(bytes))
        text += QChar::ReplacementCharacter;
    return text;
}

QByteArray TextCodec::encode(QStringView text) const
{
    m_encoder.resetState();
    return m_encoder.encode(text);
}

RecordCodecs::RecordCodecs()
    : m_utf8(TextEncoding::Utf8)
    , m_codePage950(TextEncoding::Windows950)
{}

const TextCodec& RecordCodecs::of(TextEncoding encoding) const
{
    return encoding == TextEncoding::Utf8 ? m_utf8 : m_codePage950;
}

} // namespace card
