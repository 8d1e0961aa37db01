#include "core/records/record_file.h"

#include "core/platform/path_join.h"

namespace card {

namespace {

// The day as the card readers name their files: 2007-5-3, without leading zeros.
QString fileDayText(QDate date)
{
    return QStringLiteral("%1-%2-%3").arg(date.year()).arg(date.month()).arg(date.day());
}

} // namespace

QString recordFileName(QDate date)
{
    return fileDayText(date) + QStringLiteral(".txt");
}

QString recordFilePath(const QString& recordsFolder, QDate date)
{
    return joinPath(recordsFolder, recordFileName(date));
}

} // namespace card
