#include "core/records/presence.h"

#include "core/platform/file_access.h"
#include "core/records/record_export.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "core/text/text_decoding.h"
#include "core/text/time_of_day.h"
#include "core/text/two_digits.h"
#include "core/text/value_reader.h"
#include "core/text/value_text_matcher.h"

#include <QCollator>

#include <algorithm>
#include <array>
#include <cstring>
#include <future>
#include <limits>

namespace card {

namespace {

const QString kIn = QStringLiteral("進");
const QString kOut = QStringLiteral("出");
constexpr qint64 kSecondsPerDay = 24 * 60 * 60;

qint64 wallStamp(QDate day, int secondsOfDay)
{
    return day.toJulianDay() * kSecondsPerDay + secondsOfDay;
}

qint64 wallStamp(const QDateTime& moment)
{
    return wallStamp(moment.date(), moment.time().msecsSinceStartOfDay() / 1000);
}

QDateTime wallTime(qint64 stamp)
{
    return {QDate::fromJulianDay(stamp / kSecondsPerDay),
            QTime::fromMSecsSinceStartOfDay(static_cast<int>(stamp % kSecondsPerDay) * 1000)};
}

// Seconds since midnight of a listed time, -1 when it is no time of day.
int secondsOfDay(const QString& listed)
{
    const QString digits = timeOfDayDigits(listed);
    if (digits.isEmpty())
        return -1;
    return digits.first(2).toInt() * 3600 + digits.sliced(2, 2).toInt() * 60 +
           digits.sliced(4).toInt();
}

int digit(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

int digitPair(QByteArrayView text, qsizetype at)
{
    const int tens = digit(text[at]);
    const int ones = digit(text[at + 1]);
    return tens < 0 || ones < 0 ? -1 : tens * 10 + ones;
}

// The plain H:MM:SS and HH:MM:SS that card readers write, read on bytes; -1 for any other
// form, which the listed time's own rule then reads.
int plainClockSeconds(QByteArrayView raw)
{
    const qsizetype hourDigits = raw.size() - 6;
    if ((hourDigits != 1 && hourDigits != 2) || raw[hourDigits] != ':' ||
        raw[hourDigits + 3] != ':')
        return -1;
    const int hour = hourDigits == 1 ? digit(raw[0]) : digitPair(raw, 0);
    const int minute = digitPair(raw, hourDigits + 1);
    const int second = digitPair(raw, hourDigits + 4);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return -1;
    return hour * 3600 + minute * 60 + second;
}

int secondsOfDay(const RecordTable& table, qsizetype row, const ValueSlice& time)
{
    const int plain = plainClockSeconds(table.bytes().sliced(time.begin, time.length));
    return plain >= 0 ? plain : secondsOfDay(table.text(row, TimeField));
}

// The time, card and direction of a record as card readers write it, 08:15:30,"00012345",
// "陳怡君","進", read on bytes: the value reader reads these values the same way. Any other layout
// is left to the value reader.
struct UsualRecord {
    int seconds = -1;
    ValueSlice card;
    ValueSlice direction;
};

bool readUsualRecord(QByteArrayView bytes, qsizetype start, UsualRecord& record)
{
    const char* const data = bytes.data();
    const char* const end = data + bytes.size();
    const char* p = data + start;
    const auto* comma = static_cast<const char*>(
        std::memchr(p, ',', static_cast<size_t>(std::min<qsizetype>(9, end - p))));
    if (comma == nullptr)
        return false;
    record.seconds = plainClockSeconds(QByteArrayView(p, comma - p));
    if (record.seconds < 0)
        return false;
    p = comma + 1;
    std::array<ValueSlice, 3> quoted;
    for (size_t i = 0; i < quoted.size(); ++i) {
        if (p >= end || *p != '"')
            return false;
        const auto* close =
            static_cast<const char*>(std::memchr(p + 1, '"', static_cast<size_t>(end - p - 1)));
        if (close == nullptr)
            return false;
        quoted[i] = ValueSlice{p + 1 - data, close - p - 1, false};
        p = close + 1;
        if (i + 1 < quoted.size() && (p >= end || *p++ != ','))
            return false;
    }
    record.card = quoted[0];
    record.direction = quoted[2];
    return true;
}

// The card number as listed, in UTF-8, the same for a number and for the same text quoted,
// and for both encodings of a day file.
void cardKey(const RecordTable& table, qsizetype row, const ValueSlice& card, std::string& key)
{
    const QByteArrayView raw = table.bytes().sliced(card.begin, card.length);
    if (card.isNumber) {
        const CanonicalNumberParts parts = canonicalNumberParts(raw);
        key.assign(parts.negative ? "-" : "");
        key.append(parts.digits.data(), static_cast<size_t>(parts.digits.size()));
    } else if (isAscii(raw) || table.encoding(row) == TextEncoding::Utf8) {
        key.assign(raw.data(), static_cast<size_t>(raw.size()));
    } else {
        key = table.text(row, CardField).toStdString();
    }
}

Swipe swipeOf(const RecordTable& table, qsizetype row, QDate day, const PresenceSite& site)
{
    return {table.text(row, TimeField),
            table.text(row, CardField),
            table.text(row, NameField),
            table.text(row, DirectionField),
            day,
            site.recordsFolder,
            site.photoFolder,
            site.parameterFile};
}

} // namespace

void sortPresent(QList<PresentPerson>& people, PresenceOrder order)
{
    const auto newerFirst = [](const PresentPerson& a, const PresentPerson& b) {
        if (a.entered != b.entered)
            return a.entered > b.entered;
        return a.entry.card < b.entry.card;
    };
    if (order == PresenceOrder::NewestEntryFirst) {
        std::sort(people.begin(), people.end(), newerFirst);
        return;
    }
    QCollator collator;
    std::sort(people.begin(), people.end(), [&](const PresentPerson& a, const PresentPerson& b) {
        const int byName = collator.compare(a.entry.name, b.entry.name);
        return byName != 0 ? byName < 0 : newerFirst(a, b);
    });
}

QString presenceSpan(const QDateTime& entered, const QDateTime& moment)
{
    const qint64 minutes = std::max<qint64>(0, entered.secsTo(moment)) / 60;
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(twoDigits(static_cast<int>(minutes % 60)));
}

QStringList presenceValues(const PresentPerson& person)
{
    return {person.entry.card, person.entry.name,
            person.entered.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))};
}

bool writePresenceCsv(const QList<PresentPerson>& people, QIODevice& device)
{
    return writeValuesCsv(
        kPresenceCsvHeader, people.size(),
        [&people](qsizetype row) { return presenceValues(people[row]); }, device, 0);
}

SafeWriteResult exportPresenceCsv(const QList<PresentPerson>& people, const QString& target,
                                  const QStringList& protectedPlaces)
{
    return writeFileSafely(target, protectedPlaces,
                           [&people](QIODevice& file) { return writePresenceCsv(people, file); });
}

PresenceLedger::PresenceLedger(QDateTime until)
    : m_until(until.isValid() ? wallStamp(until) : std::numeric_limits<qint64>::max())
{}

PresenceLedger::Last* PresenceLedger::claim(std::string_view card, qint64 stamp, bool in)
{
    if (stamp > m_until)
        return nullptr;
    auto found = m_cards.find(card);
    if (found == m_cards.end())
        found = m_cards.emplace(std::string(card), Last{}).first;
    else if (stamp < found->second.stamp)
        return nullptr;
    Last& last = found->second;
    last.stamp = stamp;
    last.in = in;
    last.rowToRead = -1;
    return &last;
}

void PresenceLedger::addDay(const RecordTable& table, QDate day, const PresenceSite& site)
{
    const QByteArrayView bytes = table.bytes();
    const ValueTextMatcher in(kIn);
    const ValueTextMatcher out(kOut);
    const qint64 dayStart = wallStamp(day, 0);
    std::string key;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        UsualRecord record;
        if (!readUsualRecord(bytes, table.recordStart(row), record)) {
            const RecordSlices values = table.slices(row);
            record = {secondsOfDay(table, row, values[TimeField]), values[CardField],
                      values[DirectionField]};
        }
        const QByteArrayView span = recordSpan(bytes, table.recordStart(row), record.direction);
        const bool entering = in.matches(bytes, record.direction, span);
        if ((!entering && !out.matches(bytes, record.direction, span)) || record.seconds < 0)
            continue;
        cardKey(table, row, record.card, key);
        Last* last = claim(key, dayStart + record.seconds, entering);
        if (last && entering)
            last->rowToRead = row;
    }
    // Only the swipes that stay a card's last 進 are made, once the day is read.
    for (auto& [card, last] : m_cards) {
        if (last.rowToRead >= 0) {
            last.entry = swipeOf(table, last.rowToRead, day, site);
            last.rowToRead = -1;
        }
    }
}

void PresenceLedger::addEarlier(const PresenceLedger& earlier)
{
    for (const auto& [card, last] : earlier.m_cards) {
        const auto found = m_cards.find(card);
        if (found == m_cards.end())
            m_cards.emplace(card, last);
        else if (last.stamp > found->second.stamp)
            found->second = last;
    }
}

void PresenceLedger::add(const Swipe& swipe)
{
    const bool entering = swipe.direction == kIn;
    const int seconds = secondsOfDay(swipe.time);
    if ((!entering && swipe.direction != kOut) || seconds < 0)
        return;
    Last* last = claim(swipe.card.toStdString(), wallStamp(swipe.day, seconds), entering);
    if (last && entering)
        last->entry = swipe;
}

QList<PresentPerson> PresenceLedger::presentAt(const QDateTime& moment) const
{
    const qint64 windowStart = wallStamp(moment) - kPresenceWindowSeconds;
    QList<PresentPerson> people;
    for (const auto& [card, last] : m_cards) {
        if (last.in && last.stamp > windowStart)
            people.append({last.entry, wallTime(last.stamp)});
    }
    return people;
}

namespace {

// The ledger of day's table and the day before's, each gone through on a thread of its own.
PresenceLedger ledgerOfDays(const RecordTable& dayBefore, const RecordTable& dayTable, QDate day,
                            const PresenceSite& site, const QDateTime& until)
{
    auto earlier = std::async(std::launch::async, [&] {
        PresenceLedger ledger(until);
        ledger.addDay(dayBefore, day.addDays(-1), site);
        return ledger;
    });
    PresenceLedger ledger(until);
    ledger.addDay(dayTable, day, site);
    ledger.addEarlier(earlier.get());
    return ledger;
}

RecordTable readWholeDay(const PresenceSite& site, QDate day, FileReadStatus* status = nullptr)
{
    RecordTable table;
    const FileReadStatus read =
        readRecordFile(recordFilePath(site.recordsFolder, day), RecordCriteria{}, table);
    if (status)
        *status = read;
    return table;
}

} // namespace

PresenceLedger readPresence(const PresenceSite& site, const QDateTime& moment,
                            FileReadStatus* dayFile)
{
    const QDate day = moment.date();
    const RecordTable dayBefore = readWholeDay(site, day.addDays(-1));
    const RecordTable dayTable = readWholeDay(site, day, dayFile);
    return ledgerOfDays(dayBefore, dayTable, day, site, moment);
}

PresenceFollower::PresenceFollower(PresenceSite site)
    : m_site(std::move(site))
    , m_follower(m_site.recordsFolder, m_site.photoFolder, m_site.parameterFile,
                 std::numeric_limits<qsizetype>::max())
{}

PresenceLook PresenceFollower::look(const QDateTime& now)
{
    PresenceLook result;
    if (m_started) {
        const LivePoll poll = m_follower.poll(now);
        for (const Swipe& swipe : poll.swipes)
            m_ledger.add(swipe);
        result.state = poll.state;
    } else {
        result.state = readStart(now);
    }
    result.present = m_ledger.presentAt(now);
    return result;
}

// The day before as a whole; today's file up to its last whole record, from where the follower
// goes on.
LivePoll::State PresenceFollower::readStart(const QDateTime& now)
{
    const QDate today = now.date();
    const RecordTable dayBefore = readWholeDay(m_site, today.addDays(-1));
    QByteArray bytes;
    const FileReadStatus status =
        readFileSnapshot(recordFilePath(m_site.recordsFolder, today), kMaxRecordFileSize, bytes);
    const bool waiting =
        status == FileReadStatus::CannotOpen && fileAccess().canEnterFolder(m_site.recordsFolder);
    if (status != FileReadStatus::Ok && !waiting)
        return LivePoll::State::Lost;
    // Only the lines ended so far: the follower goes on after their last whole record.
    const RecordTable todayTable = readRecords(bytes, RecordCriteria{}, true);
    const qsizetype rows = todayTable.rowCount();
    const qsizetype lastStart = rows > 0 ? todayTable.recordStart(rows - 1) : utf8BomLength(bytes);
    m_follower.continueAfter(today, bytes, completeRecordsEnd(bytes, lastStart));
    m_ledger = ledgerOfDays(dayBefore, todayTable, today, m_site, {});
    m_started = true;
    return waiting ? LivePoll::State::Waiting : LivePoll::State::Following;
}

} // namespace card
