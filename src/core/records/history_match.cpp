#include "core/records/history_match.h"

#include <QSet>

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

// The characters that code page 950 writes with more than one byte pair: a value may hold
// the other pair, so their bytes cannot be searched for.
const QSet<QChar>& charactersWithSeveralCodes()
{
    static const QSet<QChar> several = [] {
        const TextCodec codec(TextEncoding::Windows950);
        QSet<QChar> seen;
        QSet<QChar> repeated;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                const QString decoded = codec.decode(QByteArrayView(pair, 2));
                if (decoded.size() != 1 || decoded[0] == QChar::ReplacementCharacter)
                    continue;
                if (seen.contains(decoded[0]))
                    repeated.insert(decoded[0]);
                seen.insert(decoded[0]);
            }
        }
        return repeated;
    }();
    return several;
}

bool hasSeveralCodes(QStringView text)
{
    for (const QChar c : text) {
        if (charactersWithSeveralCodes().contains(c))
            return true;
    }
    return false;
}

// A number value reads as its shortest form, which can join a minus sign to digits that are
// apart in the file ("-007" reads "-7"): a text holding a sign is not searched for on bytes.
bool mayJoinNumberParts(QStringView text)
{
    return text.contains(u'-') || text.contains(u'+');
}

// The card's bytes in the file: a number card matches the digits of the value's shortest form,
// which are always a run of the value's own bytes.
std::optional<QByteArray> requiredCardBytes(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    if (isAscii(text)) {
        QByteArray bytes = text.toLatin1();
        if (bytes.startsWith('-'))
            bytes.remove(0, 1);
        if (bytes.isEmpty())
            return std::nullopt;
        return bytes;
    }
    return std::nullopt; // a non-ASCII card text is read value by value
}

std::optional<QByteArray> requiredNameBytes(const QString& foldedText, TextEncoding encoding,
                                            const TextCodec& codec)
{
    if (foldedText.isEmpty() || mayJoinNumberParts(foldedText))
        return std::nullopt;
    if (encoding == TextEncoding::Windows950 && hasSeveralCodes(foldedText))
        return std::nullopt;
    QByteArray bytes = codec.encode(foldedText);
    if (codec.decode(bytes) != foldedText)
        return std::nullopt;
    return bytes;
}

} // namespace

QString foldAsciiCase(QString text)
{
    for (QChar& c : text) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return text;
}

HistoryRecordTest::HistoryRecordTest(HistoryField field, const QString& text, TextEncoding encoding)
    : m_field(field)
    , m_foldedText(foldAsciiCase(text))
    , m_codec(encoding)
{
    if (field == HistoryField::Card) {
        m_card.emplace(text, encoding);
        m_required = requiredCardBytes(text);
    } else {
        m_required = requiredNameBytes(m_foldedText, encoding, m_codec);
    }
}

bool HistoryRecordTest::keeps(QByteArrayView bytes, const RecordSlices& record) const
{
    if (m_card)
        return m_card->matches(bytes, record[CardField]);
    return nameContains(bytes, record[NameField]);
}

bool HistoryRecordTest::nameContains(QByteArrayView bytes, const ValueSlice& value) const
{
    return foldAsciiCase(valueText(bytes, value, m_codec)).contains(m_foldedText);
}

} // namespace card
