// Where the day file of a date lies, and how the date is kept for the photo lookup.
#pragma once

#include <QDate>
#include <QString>

namespace card {

// The day file's name: 2007-5-3.txt.
QString recordFileName(QDate date);

// The records folder exactly as stored, one separator, the day file's name.
QString recordFilePath(const QString& recordsFolder, QDate date);

} // namespace card
