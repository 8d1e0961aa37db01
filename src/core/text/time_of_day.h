// The listed swipe time as the hhmmss that names the swipe's photos.
#pragma once

#include <QString>

namespace card {

// The time of day of a listed swipe time as six digits hhmmss on the 24-hour clock, or empty
// when the text is no time of day. Accepted: H:MM:SS, HH:MM:SS and H:MM (seconds 00), each
// with an optional AM/PM or 上午/下午 marker before or after the clock, blanks allowed between.
QString timeOfDayDigits(const QString& listed);

} // namespace card
