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
// which are always a run of the value's own bytes. A non-ASCII card text is read value by value.
QList<QByteArray> requiredCardBytes(const QString& text)
{
    if (text.isEmpty() || !isAscii(text))
        return {};
    QByteArray bytes = text.toLatin1();
    if (bytes.startsWith('-'))
        bytes.remove(0, 1);
    if (bytes.isEmpty())
        return {};
    return {bytes};
}

// The name in each encoding a record may have: ASCII once, any other text in UTF-8 and, unless
// code page 950 writes it in more than one way, in code page 950.
QList<QByteArray> requiredNameBytes(const QString& foldedText, const RecordCodecs& codecs)
{
    if (foldedText.isEmpty() || mayJoinNumberParts(foldedText))
        return {};
    if (isAscii(foldedText))
        return {foldedText.toLatin1()};
    const TextCodec& codePage950 = codecs.of(TextEncoding::Windows950);
    QByteArray bytes = codePage950.encode(foldedText);
    if (hasSeveralCodes(foldedText) || codePage950.decode(bytes) != foldedText)
        return {};
    return {foldedText.toUtf8(), bytes};
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

HistoryRecordTest::HistoryRecordTest(HistoryField field, const QString& text)
    : m_field(field)
    , m_foldedText(foldAsciiCase(text))
{
    if (field == HistoryField::Card) {
        m_card.emplace(text);
        m_required = requiredCardBytes(text);
    } else {
        m_required = requiredNameBytes(m_foldedText, m_codecs);
    }
}

bool HistoryRecordTest::keeps(QByteArrayView bytes, const RecordSlices& record) const
{
    const QByteArrayView span = recordSpan(bytes, record[TimeField].begin, record[DirectionField]);
    if (m_card)
        return m_card->matches(bytes, record[CardField], span);
    return foldAsciiCase(valueText(bytes, record[NameField], m_codecs.forRecord(span)))
        .contains(m_foldedText);
}

} // namespace card
