// Where the day file of a date lies, and how the date is kept for the photo lookup.
#pragma once

#include <QDate>
#include <QString>

namespace card {

// year-month-day, plain decimal numbers without leading zeros: 3 May 2007 gives 2007-5-3.
QString dayText(QDate date);

// The day file's name: 2007-5-3.txt.
QString recordFileName(QDate date);

// The records folder exactly as stored, one separator, the day file's name.
QString recordFilePath(const QString& recordsFolder, QDate date);

} // namespace card
