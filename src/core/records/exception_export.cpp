#include "core/records/exception_export.h"

#include "core/records/day_file_words.h"
#include "core/records/record_export.h"
#include "core/text/day_text.h"
#include "core/text/file_names.h"

namespace card {

QString exceptionText(const ExceptionHit& hit)
{
    const QString rule = exceptionRuleName(hit.rule);
    if (!hit.missingDay.isValid())
        return rule;
    const QString file = hit.missingState == DayFileState::Unreadable ? day_file_words::kUnreadable
                                                                      : day_file_words::kNoDayFile;
    return QStringLiteral("%1（%2 %3）").arg(rule, dayText(hit.missingDay), file);
}

QStringList exceptionValues(const ExceptionHit& hit)
{
    return historySwipeValues(hit.swipe) << exceptionText(hit);
}

QString exceptionCopyLine(const ExceptionHit& hit)
{
    return exceptionValues(hit).join(u'\t');
}

bool writeExceptionsCsv(const QList<ExceptionHit>& hits, QIODevice& device)
{
    return writeValuesCsv(
        kExceptionsCsvHeader, hits.size(),
        [&hits](qsizetype row) { return exceptionValues(hits[row]); }, device);
}

SafeWriteResult exportExceptionsCsv(const QList<ExceptionHit>& hits, const QString& target,
                                    const QStringList& protectedPlaces)
{
    return writeFileSafely(target, protectedPlaces,
                           [&hits](QIODevice& file) { return writeExceptionsCsv(hits, file); });
}

QString exceptionsFileName(QDate end, int dayCount, const QString& extension)
{
    return proposedFileName(QStringLiteral("異常刷卡"),
                            {dayText(end), QString::number(dayCount) + u'天'}, extension);
}

} // namespace card
