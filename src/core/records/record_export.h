// Taking the listed records out: the copy line of a row and the CSV file of all listed rows.
#pragma once

#include "core/platform/safe_write.h"
#include "core/records/record_table.h"
#include "core/records/swipe.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

namespace card {

// The header row of the CSV file: the day, then the names of the four lists.
inline const QString kCsvHeader = QStringLiteral("日期,時間,卡號,姓名,進出");

// The copy line of one row of day: the day (2007-05-03), then its four values as the lists show
// them, separated by tabs. A row without its day is not evidence.
QString recordCopyLine(const RecordTable& table, QDate day, qsizetype row);

// One value as a CSV field (RFC 4180): a value holding a comma, a double quote, CR or LF is
// quoted with its quotes doubled; a value a spreadsheet would take for a formula (beginning with
// =, +, -, @, a tab or a carriage return) gets a leading apostrophe; any other value is written
// as it is. quoted forces the quotes.
QString csvField(const QString& value, bool quoted = false);

// Writes the CSV file of every row of table, the records of day, to device as it goes, in
// chunks: UTF-8 with a byte order mark, CR LF line ends, the header row, then each row as the
// day and the lists show it, each value as csvField makes it, the card number always quoted.
// False when a write failed.
bool writeRecordsCsv(const RecordTable& table, QDate day, QIODevice& device);

// The proposed file name for the records of day: 刷卡紀錄-2007-05-03.csv.
QString csvFileName(QDate day);

// Writes the CSV file of table, the records of day, to target the safe way, refusing the
// protected places.
SafeWriteResult exportRecordsCsv(const RecordTable& table, QDate day, const QString& target,
                                 const QStringList& protectedPlaces);

// A swipe of a card history as the history's copy line and CSV row give it: its day
// (2007-05-03), then its four values as the lists show them.
QStringList historySwipeValues(const Swipe& swipe);
// The copy line of one swipe: those values separated by tabs.
QString historyCopyLine(const Swipe& swipe);

// Writes the CSV file of swipes to device by the list export's rules: UTF-8 with a byte order
// mark, CR LF line ends, kCsvHeader, each value as csvField makes it, the card number always
// quoted. False when a write failed.
bool writeSwipesCsv(const QList<Swipe>& swipes, QIODevice& device);

// Writes rowCount rows of values (a day, the four values of a swipe, then any more) under
// header by the same rules; the values of cardColumn are the ones always quoted.
bool writeValuesCsv(const QString& header, qsizetype rowCount,
                    const std::function<QStringList(qsizetype row)>& values, QIODevice& device,
                    qsizetype cardColumn = 1 + CardField);

// The proposed file name for a history searched for text up to end: 本卡歷史-<text>-2007-05-03.csv,
// without characters a file name cannot hold.
QString historyCsvFileName(const QString& text, QDate end);

// Writes the CSV file of swipes to target the safe way, refusing the protected places.
SafeWriteResult exportSwipesCsv(const QList<Swipe>& swipes, const QString& target,
                                const QStringList& protectedPlaces);

} // namespace card
