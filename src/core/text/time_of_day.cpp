#include "core/text/time_of_day.h"

#include "core/text/two_digits.h"

#include <QRegularExpression>

#include <array>
#include <optional>

namespace card {

namespace {

enum class Meridiem { None, Morning, Afternoon };

struct MarkerText {
    QStringView text;
    Meridiem meridiem;
};

constexpr std::array<MarkerText, 4> kMarkers = {{{u"AM", Meridiem::Morning},
                                                 {u"PM", Meridiem::Afternoon},
                                                 {u"上午", Meridiem::Morning},
                                                 {u"下午", Meridiem::Afternoon}}};

// Removes a marker from the front or the back of text; at most one marker is allowed.
Meridiem takeMarker(QStringView& text)
{
    for (const MarkerText& marker : kMarkers) {
        if (text.startsWith(marker.text, Qt::CaseInsensitive)) {
            text = text.sliced(marker.text.size()).trimmed();
            return marker.meridiem;
        }
        if (text.endsWith(marker.text, Qt::CaseInsensitive)) {
            text = text.chopped(marker.text.size()).trimmed();
            return marker.meridiem;
        }
    }
    return Meridiem::None;
}

// Hours as written on a 12-hour clock (1 to 12) on the 24-hour clock.
std::optional<int> hourOfDay(int hour, Meridiem meridiem)
{
    if (meridiem == Meridiem::None)
        return hour <= 23 ? std::optional<int>(hour) : std::nullopt;
    if (hour < 1 || hour > 12)
        return std::nullopt;
    const int morningHour = hour % 12;
    return meridiem == Meridiem::Morning ? morningHour : morningHour + 12;
}

} // namespace

QString timeOfDayDigits(const QString& listed)
{
    static const QRegularExpression clock(
        QStringLiteral("^([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?$"));
    QStringView text = QStringView(listed).trimmed();
    const Meridiem meridiem = takeMarker(text);
    const QRegularExpressionMatch match = clock.match(text.toString());
    if (!match.hasMatch())
        return {};
    const std::optional<int> hour = hourOfDay(match.capturedView(1).toInt(), meridiem);
    const int minute = match.capturedView(2).toInt();
    const int second = match.hasCaptured(3) ? match.capturedView(3).toInt() : 0;
    if (!hour || minute > 59 || second > 59)
        return {};
    return twoDigits(*hour) + twoDigits(minute) + twoDigits(second);
}

std::optional<int> timeOfDaySeconds(const QString& listed)
{
    const QString digits = timeOfDayDigits(listed);
    if (digits.isEmpty())
        return std::nullopt;
    return (digits.first(2).toInt() * 60 + digits.sliced(2, 2).toInt()) * 60 +
           digits.sliced(4, 2).toInt();
}

qsizetype firstTimeAtOrAfter(qsizetype count, const std::function<QString(qsizetype)>& timeAt,
                             const QString& digits)
{
    for (qsizetype row = 0; row < count; ++row) {
        const QString listed = timeOfDayDigits(timeAt(row));
        // Six digits each: their text order is the order of the times.
        if (!listed.isEmpty() && listed >= digits)
            return row;
    }
    return -1;
}

} // namespace card
