// Names and contents of the sample site's text files.
#pragma once

#include "site_plan.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace card {

inline constexpr int kSiteParameterCount = 26;

// "2007-5-3.txt": four-digit year, month and day without leading zeros.
QString recordFileName(const QDate& date);

// One record without its line end: 08:05:07,"00012345","陳怡君","進".
QString recordLine(const PlannedSwipe& swipe);

// All records of the day, each ending in CR LF.
QString recordFileText(const DayPlan& plan);

// The 26 values of site.spf as written (quoted where they are text). recordsFolder and
// photoFolder go to slots 17 and 19; they must not contain a double quote.
QStringList siteParameters(const QString& recordsFolder, const QString& photoFolder);

// The parameter file: one value per line, CR LF line ends.
QString parameterFileText(const QStringList& values);

} // namespace card
