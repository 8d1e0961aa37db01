// Finding the records a card history search keeps in one day file's bytes.
#pragma once

#include "core/platform/file_bytes.h"
#include "core/records/history_match.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace card {

// The processor instructions the scan runs on: Automatic takes AVX2 where the processor has it
// and SSE2 otherwise; the others force one path (AVX2 only where processorHasAvx2()).
enum class ScanInstructions { Automatic, Sse2, Avx2 };

// AVX2 and the carry-less multiply, which the AVX2 path also uses.
bool processorHasAvx2();

// The starts of the records of content, read from its first value at from, that test keeps,
// in file order: every record goes through the value reader.
std::vector<qsizetype> readHistoryRecords(QByteArrayView content, qsizetype from,
                                          const HistoryRecordTest& test);

struct HistoryWindowScan {
    std::vector<qsizetype> starts; // of the kept records
    qsizetype used = 0;            // where the whole records end
};

// The records test keeps among the whole records of window, read from from (where a record
// begins): with atEnd every record readHistoryRecords reads, else those completeRecordsEnd
// counts whole, which end at used. One pass over each block of 64 bytes both searches for the
// test's required bytes and follows the record boundaries; only the records holding a hit go
// through the value reader. Falls back to the value reader where the layout cannot be followed
// on bytes alone.
HistoryWindowScan scanHistoryWindow(QByteArrayView window, qsizetype from, bool atEnd,
                                    const HistoryRecordTest& test,
                                    ScanInstructions instructions = ScanInstructions::Automatic);

// The records a search keeps, copied out of the windows they were read in, back to back.
struct KeptRecords {
    QByteArray bytes;
    std::vector<quint32> starts;
};

// Reads a day window by window (a byte order mark skipped) and keeps the records test keeps,
// so that memory holds one window and the kept records whatever the day's size; false when a
// read failed.
bool keepHistoryRecords(ByteWindows& windows, const HistoryRecordTest& test, KeptRecords& kept,
                        ScanInstructions instructions = ScanInstructions::Automatic);

} // namespace card
