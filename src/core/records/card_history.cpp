#include "core/records/card_history.h"

#include "core/platform/file_bytes.h"
#include "core/platform/file_exists.h"
#include "core/records/history_scan.h"
#include "core/records/record_file.h"
#include "core/records/record_table.h"
#include "core/text/time_of_day.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace card {

namespace {

constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerMinute = 60;

const QString kIn = QStringLiteral("進");
const QString kOut = QStringLiteral("出");

// Seconds since midnight of a listed time, or nothing when it is no time of day.
std::optional<int> secondsOfDay(const QString& listed)
{
    const QString digits = timeOfDayDigits(listed);
    if (digits.isEmpty())
        return std::nullopt;
    return digits.first(2).toInt() * kSecondsPerHour +
           digits.sliced(2, 2).toInt() * kSecondsPerMinute + digits.sliced(4, 2).toInt();
}

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

// The kept records as one entry per card, in order of each card's first swipe.
QList<HistoryDay> entriesByCard(const RecordTable& table, const HistoryQuery& query, QDate date)
{
    QList<HistoryDay> days;
    QHash<QString, qsizetype> entryOfCard;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        const Swipe swipe{table.text(row, TimeField),
                          table.text(row, CardField),
                          table.text(row, NameField),
                          table.text(row, DirectionField),
                          date,
                          query.recordsFolder,
                          query.photoFolder,
                          query.parameterFile};
        auto entry = entryOfCard.constFind(swipe.card);
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
        if (swipe.direction == kIn && summary.firstIn.isEmpty())
            summary.firstIn = swipe.time;
        if (swipe.direction == kOut)
            summary.lastOut = swipe.time;
        if (const std::optional<int> seconds = secondsOfDay(swipe.time)) {
            earliest = timed == 0 ? *seconds : std::min(earliest, *seconds);
            latest = timed == 0 ? *seconds : std::max(latest, *seconds);
            ++timed;
        }
    }
    if (timed >= 2)
        summary.span = durationText(latest - earliest);
    return summary;
}

HourCounts hourCounts(const HistoryDay& day)
{
    HourCounts counts;
    for (const Swipe& swipe : day.swipes) {
        const std::optional<int> seconds = secondsOfDay(swipe.time);
        if (!seconds)
            continue;
        const auto hour = static_cast<size_t>(*seconds / kSecondsPerHour);
        if (swipe.direction == kIn)
            ++counts.in[hour];
        else if (swipe.direction == kOut)
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
        const std::optional<int> seconds = secondsOfDay(day.swipes[k].time);
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
    // A past day's file is settled: it can be mapped instead of copied. Today's may still grow.
    FileSnapshot snapshot;
    QByteArray today;
    const bool settled = date < QDate::currentDate();
    const FileReadStatus status = settled ? readSettledFile(path, kMaxRecordFileSize, snapshot)
                                          : readFileSnapshot(path, kMaxRecordFileSize, today);
    if (status != FileReadStatus::Ok)
        return {emptyDay(date, DayFileState::Unreadable)};
    const QByteArray& bytes = settled ? snapshot.bytes() : today;
    const qsizetype bom = utf8BomLength(bytes);
    const TextEncoding encoding = detectEncoding(QByteArrayView(bytes).sliced(bom));
    const HistoryRecordTest test(query.field, query.text, encoding);
    const std::vector<qsizetype> starts = scanHistoryRecords(bytes, bom, test);
    RecordTable table(bytes, encoding);
    for (const qsizetype start : starts)
        table.appendRecordAt(start);
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
