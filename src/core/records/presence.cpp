#include "core/records/presence.h"

#include "core/platform/file_access.h"
#include "core/records/record_export.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "core/text/day_text.h"
#include "core/text/direction_words.h"
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

// The seconds of a time value as its record's codec reads it: the plain clock on its bytes
// first.
int secondsOfDay(QByteArrayView bytes, const ValueSlice& time, const TextCodec& codec)
{
    const int plain = plainClockSeconds(bytes.sliced(time.begin, time.length));
    return plain >= 0 ? plain : secondsOfDay(valueText(bytes, time, codec));
}

// The time, card and direction of a record as card readers write it, 08:15:30,"00012345",
// "陳怡君","進", read on bytes: the value reader reads these values the same way. Any other layout
// is left to the value reader.
struct UsualRecord {
    int seconds = -1;
    ValueSlice card;
    ValueSlice direction;
};

// Where the next record begins after a usual record at start, or -1 when the record at start
// is not one (or ends in another separator): the value reader then reads it.
qsizetype readUsualRecord(QByteArrayView bytes, qsizetype start, UsualRecord& record)
{
    const char* const data = bytes.data();
    const char* const end = data + bytes.size();
    const char* p = data + start;
    const auto* comma = static_cast<const char*>(
        std::memchr(p, ',', static_cast<size_t>(std::min<qsizetype>(9, end - p))));
    if (comma == nullptr)
        return -1;
    record.seconds = plainClockSeconds(QByteArrayView(p, comma - p));
    if (record.seconds < 0)
        return -1;
    p = comma + 1;
    std::array<ValueSlice, 3> quoted;
    for (size_t i = 0; i < quoted.size(); ++i) {
        if (p >= end || *p != '"')
            return -1;
        const auto* close =
            static_cast<const char*>(std::memchr(p + 1, '"', static_cast<size_t>(end - p - 1)));
        if (close == nullptr)
            return -1;
        quoted[i] = ValueSlice{p + 1 - data, close - p - 1, false};
        p = close + 1;
        if (i + 1 < quoted.size() && (p >= end || *p++ != ','))
            return -1;
    }
    record.card = quoted[0];
    record.direction = quoted[2];
    if (p == end)
        return p - data;
    if (*p == '\n')
        return p + 1 - data;
    if (*p == '\r' && p + 1 < end && p[1] == '\n')
        return p + 2 - data;
    return -1;
}

// The card number as listed, in UTF-8, the same for a number and for the same text quoted,
// and for both encodings of a day file.
// record: the bytes the record's encoding is decided on.
void cardKey(QByteArrayView bytes, const ValueSlice& card, QByteArrayView record,
             const RecordCodecs& codecs, std::string& key)
{
    const QByteArrayView raw = bytes.sliced(card.begin, card.length);
    if (card.isNumber) {
        const CanonicalNumberParts parts = canonicalNumberParts(raw);
        key.assign(parts.negative ? "-" : "");
        key.append(parts.digits.data(), static_cast<size_t>(parts.digits.size()));
    } else if (isAscii(raw) || recordEncoding(record) == TextEncoding::Utf8) {
        key.assign(raw.data(), static_cast<size_t>(raw.size()));
    } else {
        key = valueText(bytes, card, codecs.of(TextEncoding::Windows950)).toStdString();
    }
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
    return {person.entry.card, person.entry.name, momentText(person.entered)};
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
    found->second = Last{stamp, in, {}};
    return &found->second;
}

PresenceLedger::DayLasts PresenceLedger::lastSwipesOf(QByteArrayView content, QDate day) const
{
    const ValueTextMatcher in(inWord().toString());
    const ValueTextMatcher out(outWord().toString());
    const RecordCodecs codecs;
    const qint64 dayStart = wallStamp(day, 0);
    DayLasts lasts;
    lasts.lastRecordStart = utf8BomLength(content);
    std::string key;
    for (qsizetype start = utf8BomLength(content); start < content.size();) {
        UsualRecord record;
        qsizetype next = readUsualRecord(content, start, record);
        if (next < 0) {
            ValueReader reader(content, start);
            RecordSlices values;
            if (!readRecord(reader, values))
                break;
            const TextCodec& codec =
                codecs.forRecord(recordSpan(content, start, values[DirectionField]));
            record = {secondsOfDay(content, values[TimeField], codec), values[CardField],
                      values[DirectionField]};
            next = reader.position();
        }
        lasts.lastRecordStart = start;
        const QByteArrayView span = recordSpan(content, start, record.direction);
        const bool entering = in.matches(content, record.direction, span);
        const qint64 stamp = dayStart + record.seconds;
        if (record.seconds >= 0 && stamp <= m_until &&
            (entering || out.matches(content, record.direction, span))) {
            cardKey(content, record.card, span, codecs, key);
            auto found = lasts.cards.find(key);
            if (found == lasts.cards.end())
                lasts.cards.emplace(key, DayLast{stamp, entering, start});
            else if (stamp >= found->second.stamp)
                found->second = DayLast{stamp, entering, start};
        }
        start = next;
    }
    return lasts;
}

void PresenceLedger::takeDay(const DayLasts& lasts, QByteArrayView bytes, QDate day,
                             const PresenceSite& site, qint64 insideFrom)
{
    RecordTable entries(QByteArray::fromRawData(bytes.data(), bytes.size()));
    for (const auto& [card, last] : lasts.cards) {
        Last* kept = claim(card, last.stamp, last.in);
        if (kept == nullptr || !last.in || last.stamp <= insideFrom)
            continue;
        entries.appendRecordAt(last.start);
        kept->entry = swipeOfRow(entries, entries.rowCount() - 1, day, site.recordsFolder,
                                 site.photoFolder, site.parameterFile);
    }
}

qsizetype PresenceLedger::addDays(QByteArrayView dayBefore, QByteArrayView day, QDate date,
                                  const PresenceSite& site, const QDateTime& from)
{
    auto earlier =
        std::async(std::launch::async, [&] { return lastSwipesOf(dayBefore, date.addDays(-1)); });
    const DayLasts lasts = lastSwipesOf(day, date);
    const DayLasts earlierLasts = earlier.get();
    // The day's swipes all come after the day before's: taken first, they keep the day before's
    // entries of the same cards from being read at all.
    const qint64 insideFrom = wallStamp(from) - kPresenceWindowSeconds;
    takeDay(lasts, day, date, site, insideFrom);
    takeDay(earlierLasts, dayBefore, date.addDays(-1), site, insideFrom);
    return lasts.lastRecordStart;
}

void PresenceLedger::add(const Swipe& swipe)
{
    const bool entering = swipe.direction == inWord();
    const int seconds = secondsOfDay(swipe.time);
    if ((!entering && swipe.direction != outWord()) || seconds < 0)
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

// The whole file of day as it can be read: after a read error the lines ended before it, when
// it cannot be read nothing.
QByteArray readDayBytes(const PresenceSite& site, QDate day, FileReadStatus* status = nullptr)
{
    QByteArray bytes;
    const FileReadStatus read =
        readFileSnapshot(recordFilePath(site.recordsFolder, day), kMaxRecordFileSize, bytes);
    if (status)
        *status = read;
    if (read == FileReadStatus::ReadError)
        bytes.truncate(wholeLinesEnd(bytes));
    else if (read != FileReadStatus::Ok)
        bytes.clear();
    return bytes;
}

} // namespace

PresenceLedger readPresence(const PresenceSite& site, const QDateTime& moment,
                            FileReadStatus* dayFile)
{
    const QDate day = moment.date();
    PresenceLedger ledger(moment);
    ledger.addDays(readDayBytes(site, day.addDays(-1)), readDayBytes(site, day, dayFile), day, site,
                   moment);
    return ledger;
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
    QByteArray bytes;
    const FileReadStatus status =
        readFileSnapshot(recordFilePath(m_site.recordsFolder, today), kMaxRecordFileSize, bytes);
    const bool waiting =
        status == FileReadStatus::CannotOpen && fileAccess().canEnterFolder(m_site.recordsFolder);
    if (status != FileReadStatus::Ok && !waiting)
        return LivePoll::State::Lost;
    // Only the lines ended so far: the follower goes on after their last whole record.
    const qsizetype lastStart =
        m_ledger.addDays(readDayBytes(m_site, today.addDays(-1)),
                         QByteArrayView(bytes).first(wholeLinesEnd(bytes)), today, m_site, now);
    m_follower.continueAfter(today, bytes, completeRecordsEnd(bytes, lastStart));
    m_started = true;
    return waiting ? LivePoll::State::Waiting : LivePoll::State::Following;
}

} // namespace card
