// Finding the records a card history search keeps in one day file's bytes.
#pragma once

#include "core/records/history_match.h"

#include <QByteArrayView>

#include <vector>

namespace card {

// The starts of the records of content, read from its first value at from, that test keeps,
// in file order: every record goes through the value reader.
std::vector<qsizetype> readHistoryRecords(QByteArrayView content, qsizetype from,
                                          const HistoryRecordTest& test);

// The same records, found without reading every record: a search for the test's required
// bytes skips the stretches that cannot hold a kept record, and only the records around each
// hit go through the value reader. Falls back to readHistoryRecords where the file's layout
// cannot be followed on bytes alone.
std::vector<qsizetype> scanHistoryRecords(QByteArrayView content, qsizetype from,
                                          const HistoryRecordTest& test);

} // namespace card
