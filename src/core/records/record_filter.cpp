#include "core/records/record_filter.h"

namespace card {

DirectionChoice directionChoice(bool inSelected, bool outSelected, bool allSelected)
{
    if (allSelected)
        return DirectionChoice::All;
    if (outSelected)
        return DirectionChoice::Out;
    if (inSelected)
        return DirectionChoice::In;
    return DirectionChoice::None;
}

RecordFilter::RecordFilter(const RecordCriteria& criteria)
    : m_passesNone(criteria.direction == DirectionChoice::None)
{
    if (criteria.cardFilterOn)
        m_card.emplace(criteria.cardText);
    if (criteria.direction == DirectionChoice::In || criteria.direction == DirectionChoice::Out)
        m_direction.emplace(
            (criteria.direction == DirectionChoice::In ? inWord() : outWord()).toString());
}

bool RecordFilter::keeps(QByteArrayView bytes, qsizetype start, const RecordSlices& record) const
{
    if (m_passesNone)
        return false;
    if (!m_card && !m_direction)
        return true;
    const QByteArrayView span = recordSpan(bytes, start, record[DirectionField]);
    const bool cardOk = !m_card || m_card->matches(bytes, record[CardField], span);
    const bool directionOk =
        !m_direction || m_direction->matches(bytes, record[DirectionField], span);
    return cardOk && directionOk;
}

} // namespace card
