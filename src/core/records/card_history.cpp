#include "core/records/card_history.h"

#include "core/platform/file_bytes.h"
#include "core/platform/file_exists.h"
#include "core/records/history_scan.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "core/records/record_table.h"
#include "core/text/direction_words.h"
#include "core/text/time_of_day.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace card {

namespace {

constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerMinute = 60;

QString durationText(int seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / kSecondsPerHour)
        .arg(seconds % kSecondsPerHour / kSecondsPerMinute, 2, 10, QChar(u'0'))
        .arg(seconds % kSecondsPerMinute, 2, 10, QChar(u'0'));
}

HistoryDay emptyDay(QDate date, DayFileState file)
{
    HistoryDay day;
    day.date = date;
    day.file = file;
    return day;
}

// The kept records as one entry per card, in order of each card's first swipe; the records of
// cards past one more than the limit are left out.
QList<HistoryDay> entriesByCard(const RecordTable& table, const HistoryQuery& query, QDate date)
{
    QList<HistoryDay> days;
    QHash<QString, qsizetype> entryOfCard;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        const QString card = table.text(row, CardField);
        auto entry = entryOfCard.constFind(card);
        if (entry == entryOfCard.cend() && days.size() > kHistoryCardLimit)
            continue;
        const Swipe swipe{table.text(row, TimeField),
                          card,
                          table.text(row, NameField),
                          table.text(row, DirectionField),
                          date,
                          query.recordsFolder,
                          query.photoFolder,
                          query.parameterFile};
        if (entry == entryOfCard.cend()) {
            entry = entryOfCard.insert(swipe.card, days.size());
            HistoryDay day = emptyDay(date, DayFileState::Read);
            day.card = swipe.card;
            day.name = swipe.name;
            days.append(std::move(day));
        }
        days[*entry].swipes.append(swipe);
    }
    if (days.isEmpty())
        days.append(emptyDay(date, DayFileState::Read));
    return days;
}

} // namespace

QList<QDate> historyDates(const HistoryQuery& query)
{
    QList<QDate> dates;
    dates.reserve(std::max(query.dayCount, 0));
    for (int back = 0; back < query.dayCount; ++back)
        dates.append(query.end.addDays(-back));
    return dates;
}

DaySummary summarizeDay(const HistoryDay& day)
{
    DaySummary summary;
    summary.swipeCount = static_cast<int>(day.swipes.size());
    int earliest = 0;
    int latest = 0;
    int timed = 0;
    for (const Swipe& swipe : day.swipes) {
        if (swipe.direction == inWord() && summary.firstIn.isEmpty())
            summary.firstIn = swipe.time;
        if (swipe.direction == outWord())
            summary.lastOut = swipe.time;
        if (const std::optional<int> seconds = timeOfDaySeconds(swipe.time)) {
            earliest = timed == 0 ? *seconds : std::min(earliest, *seconds);
            latest = timed == 0 ? *seconds : std::max(latest, *seconds);
            ++timed;
        }
    }
    if (timed >= 2)
        summary.span = durationText(latest - earliest);
    return summary;
}

QString hourMapLabel(const HistoryDay& day, bool severalCards)
{
    const QString date = day.date.toString(QStringLiteral("MM-dd"));
    if (!severalCards || day.card.isEmpty())
        return date;
    return date + u' ' + day.card + u' ' + day.name;
}

QList<HistoryDay> HistoryCards::admit(QList<HistoryDay> entries)
{
    entries.removeIf([this](const HistoryDay& day) {
        if (day.card.isEmpty() || m_cards.contains(day.card))
            return false;
        if (m_cards.size() < kHistoryCardLimit) {
            m_cards.insert(day.card);
            return false;
        }
        m_limitPassed = true;
        return true;
    });
    return entries;
}

HourCounts hourCounts(const HistoryDay& day)
{
    HourCounts counts;
    for (const Swipe& swipe : day.swipes) {
        const std::optional<int> seconds = timeOfDaySeconds(swipe.time);
        if (!seconds)
            continue;
        const auto hour = static_cast<size_t>(*seconds / kSecondsPerHour);
        if (swipe.direction == inWord())
            ++counts.in[hour];
        else if (swipe.direction == outWord())
            ++counts.out[hour];
    }
    return counts;
}

qsizetype nearestSwipe(const HistoryDay& day, int hour)
{
    const int middle = hour * kSecondsPerHour + kSecondsPerHour / 2;
    qsizetype nearest = -1;
    int nearestDistance = 0;
    for (qsizetype k = 0; k < day.swipes.size(); ++k) {
        const std::optional<int> seconds = timeOfDaySeconds(day.swipes[k].time);
        if (!seconds)
            continue;
        const int distance = std::abs(*seconds - middle);
        if (nearest < 0 || distance < nearestDistance) {
            nearest = k;
            nearestDistance = distance;
        }
    }
    return nearest;
}

QList<HistoryDay> readHistoryDay(const HistoryQuery& query, QDate date)
{
    const QString path = recordFilePath(query.recordsFolder, date);
    if (!fileExists(path))
        return {emptyDay(date, DayFileState::Missing)};
    KeptRecords kept;
    FileWindows windows(path);
    if (!keepHistoryRecords(windows, HistoryRecordTest(query.field, query.text), kept))
        return {emptyDay(date, DayFileState::Unreadable)};
    RecordTable table(std::move(kept.bytes));
    table.appendRecordsAt(std::move(kept.starts));
    return entriesByCard(table, query, date);
}

QList<HistoryDay> readCardHistory(const HistoryQuery& query)
{
    QList<HistoryDay> days;
    for (const QDate date : historyDates(query))
        days.append(readHistoryDay(query, date));
    return days;
}

} // namespace card
