// Which records of a day file the query keeps: the card filter and the direction filter.
#pragma once

#include "core/records/record_table.h"
#include "core/text/direction_words.h"
#include "core/text/value_text_matcher.h"

#include <QString>

#include <optional>

namespace card {

// The choice of the three direction buttons, tested in this order: "全選", then "出", then "進";
// the first one selected wins.
DirectionChoice directionChoice(bool inSelected, bool outSelected, bool allSelected);

// What the operator asked for.
struct RecordCriteria {
    bool cardFilterOn = false; // the card filter ticked
    QString cardText;          // the card number field, compared exactly with the card value's text
    DirectionChoice direction = DirectionChoice::All;
};

// Keeps or drops records of one file, comparing on the file's bytes.
class RecordFilter {
public:
    explicit RecordFilter(const RecordCriteria& criteria);

    // record begins at start in bytes; only its card and direction values are looked at.
    bool keeps(QByteArrayView bytes, qsizetype start, const RecordSlices& record) const;
    // Whether keeps looks at the card and direction values; when not, they need not be read.
    bool readsValues() const { return !m_passesNone && (m_card || m_direction); }

private:
    bool m_passesNone; // no direction selected
    std::optional<ValueTextMatcher> m_card;
    std::optional<ValueTextMatcher> m_direction;
};

} // namespace card
