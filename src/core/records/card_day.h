// Every swipe of one card on one day, whatever direction filter the query used.
#pragma once

#include "core/records/record_filter.h"
#include "core/records/record_table.h"
#include "core/records/swipe.h"

#include <QList>

namespace card {

struct CardDay {
    QList<Swipe> swipes;     // in file order
    qsizetype shownRow = -1; // the row of the swipe asked about, -1 when it is not listed
};

// The query's own test for the card as listed, in both directions.
RecordCriteria cardDayCriteria(const QString& card);

// The rows of table (read with cardDayCriteria) as swipes of shown's day and folders. The shown
// row is the first with shown's time, card, name and direction.
CardDay cardDay(const RecordTable& table, const Swipe& shown);

// Reads the day file of shown's day from its records folder (a blocking read: call it off the
// interface thread). A missing or unreadable file gives no rows.
CardDay readCardDay(const Swipe& shown);

} // namespace card
