#include "core/records/record_file.h"

#include "core/platform/path_join.h"

namespace card {

QString dayText(QDate date)
{
    return QStringLiteral("%1-%2-%3").arg(date.year()).arg(date.month()).arg(date.day());
}

QString recordFileName(QDate date)
{
    return dayText(date) + QStringLiteral(".txt");
}

QString recordFilePath(const QString& recordsFolder, QDate date)
{
    return joinPath(recordsFolder, recordFileName(date));
}

} // namespace card
