// A day, and a moment, as every list, report and proposed file name writes them: 2026-12-08 and
// 2026-12-08 09:15:00.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>

namespace card {

constexpr QStringView dayFormat()
{
    return u"yyyy-MM-dd";
}
constexpr QStringView momentFormat()
{
    return u"yyyy-MM-dd HH:mm:ss";
}

inline QString dayText(QDate day)
{
    return day.toString(dayFormat());
}

inline QString momentText(const QDateTime& moment)
{
    return moment.toString(momentFormat());
}

} // namespace card
