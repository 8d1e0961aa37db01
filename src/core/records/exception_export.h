// Taking exceptions out: the text of a hit's rule, its copy line and the CSV file of hits.
#pragma once

#include "core/platform/safe_write.h"
#include "core/records/exception_rules.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

namespace card {

// The header row of the exceptions' CSV file: the swipe's day and four values, then the rule.
inline const QString kExceptionsCsvHeader = QStringLiteral("日期,時間,卡號,姓名,進出,異常");

// The rule as the lists show it, with the day file it needed and could not read:
// 無進先出（2007-05-02 無紀錄檔）.
QString exceptionText(const ExceptionHit& hit);

// A hit's values: its swipe's day (2007-05-03), time, card, name and direction, then
// exceptionText.
QStringList exceptionValues(const ExceptionHit& hit);
// The copy line of a hit: those values separated by tabs.
QString exceptionCopyLine(const ExceptionHit& hit);

// Writes hits to device by the list export's rules under kExceptionsCsvHeader, one line per
// swipe and rule. False when a write failed.
bool writeExceptionsCsv(const QList<ExceptionHit>& hits, QIODevice& device);

// Writes the CSV file of hits to target the safe way, refusing the protected places.
SafeWriteResult exportExceptionsCsv(const QList<ExceptionHit>& hits, const QString& target,
                                    const QStringList& protectedPlaces);

// The proposed file name of the exceptions of dayCount days up to end:
// 異常刷卡-2007-05-03-7天.csv (or .pdf).
QString exceptionsFileName(QDate end, int dayCount, const QString& extension);

} // namespace card
