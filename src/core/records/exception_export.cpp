#include "core/records/exception_export.h"

#include "core/records/record_export.h"
#include "core/text/file_names.h"

namespace card {

QString exceptionText(const ExceptionHit& hit)
{
    const QString rule = exceptionRuleName(hit.rule);
    if (!hit.missingDay.isValid())
        return rule;
    const QString file = hit.missingState == DayFileState::Unreadable
                             ? QStringLiteral("無法讀取紀錄檔")
                             : QStringLiteral("無紀錄檔");
    return QStringLiteral("%1（%2 %3）")
        .arg(rule, hit.missingDay.toString(QStringLiteral("yyyy-MM-dd")), file);
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
    return proposedFileName(
        QStringLiteral("異常刷卡"),
        {end.toString(QStringLiteral("yyyy-MM-dd")), QString::number(dayCount) + u'天'}, extension);
}

} // namespace card
