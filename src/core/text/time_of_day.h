// The listed swipe time as the hhmmss that names the swipe's photos.
#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace card {

// The time of day of a listed swipe time as six digits hhmmss on the 24-hour clock, or empty
// when the text is no time of day. Accepted: H:MM:SS, HH:MM:SS and H:MM (seconds 00), each
// with an optional AM/PM or 上午/下午 marker before or after the clock, blanks allowed between.
QString timeOfDayDigits(const QString& listed);

// The same time of day as seconds since midnight, or nothing when the text is no time of day.
std::optional<int> timeOfDaySeconds(const QString& listed);

// The first of count listed times (timeAt gives each, in list order) at or after the time of day
// digits (hhmmss); -1 when none. A text that is no time of day is passed over.
qsizetype firstTimeAtOrAfter(qsizetype count, const std::function<QString(qsizetype)>& timeAt,
                             const QString& digits);

} // namespace card
