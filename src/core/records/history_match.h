// Which records of a day file a card history search keeps, and the bytes every kept record
// must hold, so that a scan can skip the rest of the file.
#pragma once

#include "core/records/record_table.h"
#include "core/text/value_text_matcher.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace card {

enum class HistoryField { Card, Name };

// The test of one day file's records for one search.
class HistoryRecordTest {
public:
    // Card: the card value's text equals text, exactly as the query compares it. Name: the name
    // value's text contains text, ASCII letters compared without regard to case.
    HistoryRecordTest(HistoryField field, const QString& text);

    // record: all four values, read by the value reader.
    bool keeps(QByteArrayView bytes, const RecordSlices& record) const;

    // Byte strings one of which lies inside the searched value of every record keeps() accepts
    // (the text in each encoding a record may have; ASCII letters in either case when
    // ignoresAsciiCase()), or none when no such bytes are known.
    const QList<QByteArray>& requiredBytes() const { return m_required; }
    bool ignoresAsciiCase() const { return m_field == HistoryField::Name; }

private:
    HistoryField m_field;
    QString m_foldedText; // the name text with ASCII letters in lower case
    RecordCodecs m_codecs;
    std::optional<ValueTextMatcher> m_card;
    QList<QByteArray> m_required;
};

// The text with ASCII letters in lower case and every other character as it is.
QString foldAsciiCase(QString text);

} // namespace card
