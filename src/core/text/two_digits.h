// Two-digit fields of the photo names (YYMMDD, hhmmss).
#pragma once

#include <QString>

namespace card {

// The last two decimal digits of a non-negative number, with a leading zero: 7 gives "07",
// 2007 gives "07".
inline QString twoDigits(int number)
{
    return QStringLiteral("%1").arg(number % 100, 2, 10, QLatin1Char('0'));
}

} // namespace card
