// The listed-time conversion over arbitrary text: empty or six digits of a real time of day.
#include "core/text/time_of_day.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString listed =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString digits = card::timeOfDayDigits(listed);
    if (digits.isEmpty())
        return 0;
    if (digits.size() != 6)
        __builtin_trap();
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            __builtin_trap();
    }
    const int hours = digits.first(2).toInt();
    const int minutes = digits.sliced(2, 2).toInt();
    const int seconds = digits.sliced(4, 2).toInt();
    if (hours > 23 || minutes > 59 || seconds > 59)
        __builtin_trap();
    return 0;
}
