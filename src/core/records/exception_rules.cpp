#include "core/records/exception_rules.h"

#include "core/platform/site_io_pool.h"
#include "core/platform/site_io_task.h"

#include <QFuture>

#include <algorithm>
#include <cstring>
#include <deque>
#include <limits>

namespace card {

namespace {

constexpr int kHourSeconds = 60 * 60;
// Cards whose states are loaded ahead of their turn: a state is rarely in the cache when a site
// has many cards, and loading several at once overlaps the waits.
constexpr std::size_t kLookAhead = 8;
constexpr std::size_t kCacheLine = 64;

bool isNight(int second, const ExceptionSettings& settings)
{
    const int hour = second / kHourSeconds;
    if (settings.nightFromHour <= settings.nightUntilHour)
        return hour >= settings.nightFromHour && hour < settings.nightUntilHour;
    return hour >= settings.nightFromHour || hour < settings.nightUntilHour;
}

qint64 secondsOn(const QDateTime& moment)
{
    return moment.date().toJulianDay() * kDaySeconds + moment.time().msecsSinceStartOfDay() / 1000;
}

} // namespace

QString exceptionRuleName(ExceptionRule rule)
{
    switch (rule) {
    case ExceptionRule::RepeatedIn:
        return QStringLiteral("重複進");
    case ExceptionRule::RepeatedOut:
        return QStringLiteral("重複出");
    case ExceptionRule::OutWithoutIn:
        return QStringLiteral("無進先出");
    case ExceptionRule::InWithoutOut:
        return QStringLiteral("有進無出");
    case ExceptionRule::Burst:
        return QStringLiteral("連續刷卡");
    case ExceptionRule::Night:
        return QStringLiteral("夜間刷卡");
    case ExceptionRule::RareHour:
        return QStringLiteral("罕見時段");
    }
    return {};
}

QList<QDate> exceptionReadDates(const ExceptionQuery& query)
{
    // The rare hours look furthest back; an out without an in looks back one day.
    const int before = std::max(query.settings.rareDays, 1);
    const QDate last = std::min(query.end.addDays(1), query.now.date());
    QList<QDate> dates;
    for (QDate date = query.first().addDays(-before); date <= last; date = date.addDays(1))
        dates.append(date);
    return dates;
}

ExceptionFinder::ExceptionFinder(ExceptionQuery query)
    : m_query(std::move(query))
    , m_firstDay(m_query.first().toJulianDay())
    , m_lastDay(m_query.end.toJulianDay())
    , m_now(secondsOn(m_query.now))
{}

void ExceptionFinder::addDay(std::shared_ptr<const SwipeDay> day, QList<ExceptionHit>& hits)
{
    // Turns on the day let go keep their records: a later hit may be judged against them.
    if (m_yesterday)
        keepTurnRecords(*m_yesterday, m_cardsOfYesterday);
    m_yesterday = std::move(m_today);
    m_today = std::move(day);
    m_cardsOfYesterday = std::exchange(m_cardsOfToday, {});
    const SwipeDay& today = *m_today;
    const qint64 julian = today.date.toJulianDay();
    m_fileOfDay.insert(julian, today.file);
    std::vector<qsizetype> openIns;
    const std::vector<qsizetype> indices = cardIndices(today);
    const LargeVector<DaySwipe>& swipes = today.swipes;
    for (std::size_t from = 0; from < swipes.size();) {
        std::size_t to = from + 1;
        while (to < swipes.size() && swipes[to].card == swipes[from].card)
            ++to;
        // The day's cards come in the order of their numbers here: the states of the next few
        // are loaded while this one is checked.
        const auto dayCard = static_cast<std::size_t>(swipes[from].card);
        if (dayCard + kLookAhead < indices.size())
            prefetchState(indices[dayCard + kLookAhead]);
        if (dayCard + kLookAhead / 2 < indices.size())
            prefetchHistory(indices[dayCard + kLookAhead / 2]);
        const qsizetype index = indices[dayCard];
        CardState& card = m_cards[static_cast<std::size_t>(index)];
        checkCard(today, from, to, card, hits);
        m_cardsOfToday.push_back(index);
        if (card.lastTurn && card.lastTurn->direction == SwipeDirection::In &&
            card.lastTurn->at.day == julian)
            openIns.push_back(index);
        from = to;
    }
    closeOpenIns(m_openIns, julian, today.file, hits);
    m_openIns = std::move(openIns);
}

void ExceptionFinder::finish(QList<ExceptionHit>& hits)
{
    if (m_today)
        closeOpenIns(m_openIns, m_today->date.toJulianDay() + 1, DayFileState::Missing, hits);
    m_openIns.clear();
}

std::vector<qsizetype> ExceptionFinder::cardIndices(const SwipeDay& day)
{
    const std::size_t count = day.cardNumbers.size();
    std::vector<qsizetype> indices(count);
    for (std::size_t card = 0; card < count; ++card) {
        if (card + kLookAhead < count)
            m_cardOfNumber.prefetch(day.cardNumbers[card + kLookAhead]);
        indices[card] = cardIndex(day, static_cast<qint32>(card));
    }
    return indices;
}

void ExceptionFinder::prefetchState(qsizetype index) const
{
    const auto* bytes = reinterpret_cast<const char*>(&m_cards[static_cast<std::size_t>(index)]);
    for (std::size_t line = 0; line < sizeof(CardState); line += kCacheLine)
        __builtin_prefetch(bytes + line);
}

void ExceptionFinder::prefetchHistory(qsizetype index) const
{
    const CardState& card = m_cards[static_cast<std::size_t>(index)];
    __builtin_prefetch(card.swipeDays.data());
    __builtin_prefetch(card.recent.data());
}

qsizetype ExceptionFinder::cardIndex(const SwipeDay& day, qint32 card)
{
    const auto at = static_cast<std::size_t>(card);
    const auto next = static_cast<qsizetype>(m_cards.size());
    const quint64 number = day.cardNumbers[at];
    qsizetype index = next;
    if (number != 0) {
        index = m_cardOfNumber.add(number, static_cast<qint32>(next)).first;
    } else {
        const QString& text = day.otherCard(card);
        const auto known = m_cardIndex.constFind(text);
        if (known != m_cardIndex.cend())
            index = *known;
        else
            m_cardIndex.insert(text, next);
    }
    if (index == next)
        m_cards.emplace_back();
    return index;
}

// One card's swipes of the day, [from, to) of the day's stream.
void ExceptionFinder::checkCard(const SwipeDay& day, std::size_t from, std::size_t to,
                                CardState& card, QList<ExceptionHit>& hits)
{
    const ExceptionSettings& settings = m_query.settings;
    const qint64 julian = day.date.toJulianDay();
    const bool kept = inRange(julian);
    const quint32 known = knownHours(card, julian);
    const bool judged = hasHabits(card, julian);
    const auto burstBefore = static_cast<std::size_t>(std::max(settings.burstCount - 1, 1));
    for (std::size_t k = from; k < to; ++k) {
        const DaySwipe& swipe = day.swipes[k];
        const SwipeAt at{julian * kDaySeconds + swipe.second, julian, swipe.row};
        const int hour = swipe.second / kHourSeconds;
        if (kept && isNight(swipe.second, settings))
            hit(ExceptionRule::Night, at, hits);
        if (kept && judged && (known >> hour & 1) == 0)
            hit(ExceptionRule::RareHour, at, hits, {},
                latestMissingDay(julian - settings.rareDays, julian - 1));
        card.lastDayOfHour[static_cast<std::size_t>(hour)] = static_cast<qint32>(julian);
        const bool full = card.recent.size() == burstBefore;
        if (kept && full && at.when - card.recent.front().when <= settings.burstSeconds)
            hit(ExceptionRule::Burst, at, hits, swipeAt(card.recent.front()));
        if (full)
            card.recent.erase(card.recent.begin());
        card.recent.push_back(at);
        if (swipe.direction != SwipeDirection::Other)
            checkTurn(at, swipe.direction, card, hits);
    }
    rememberDay(card, julian);
}

quint32 ExceptionFinder::knownHours(const CardState& card, qint64 julian) const
{
    const qint64 oldest = julian - m_query.settings.rareDays;
    quint32 hours = 0;
    for (std::size_t hour = 0; hour < card.lastDayOfHour.size(); ++hour)
        hours |= quint32{card.lastDayOfHour[hour] >= oldest} << hour;
    return hours;
}

bool ExceptionFinder::hasHabits(const CardState& card, qint64 julian) const
{
    const auto needed = static_cast<std::size_t>(std::max(m_query.settings.rareMinimumDays, 0));
    // Full, the next place to write holds the oldest of the last days needed.
    return needed == 0 || (card.swipeDays.size() == needed &&
                           card.swipeDays[card.nextSwipeDay] >= julian - m_query.settings.rareDays);
}

void ExceptionFinder::rememberDay(CardState& card, qint64 julian) const
{
    const auto needed = static_cast<std::size_t>(std::max(m_query.settings.rareMinimumDays, 0));
    if (needed == 0)
        return;
    if (card.swipeDays.size() < needed) {
        card.swipeDays.push_back(static_cast<qint32>(julian));
        return;
    }
    card.swipeDays[card.nextSwipeDay] = static_cast<qint32>(julian);
    card.nextSwipeDay = (card.nextSwipeDay + 1) % needed;
}

ExceptionFinder::HourDays ExceptionFinder::CardState::noDays()
{
    HourDays days;
    days.fill(std::numeric_limits<qint32>::min());
    return days;
}

// The direction rules for an in or an out at at, against the card's last in or out.
void ExceptionFinder::checkTurn(const SwipeAt& at, SwipeDirection direction, CardState& card,
                                QList<ExceptionHit>& hits)
{
    const bool kept = inRange(at.day);
    const std::optional<Turn>& last = card.lastTurn;
    const bool within = last && at.when - last->at.when <= kDaySeconds;
    // An in of yesterday followed only after more than a day: its 24 hours are over now.
    if (last && !within && last->direction == SwipeDirection::In && last->at.day >= at.day - 1 &&
        inRange(last->at.day) && last->at.when + kDaySeconds <= m_now)
        hit(ExceptionRule::InWithoutOut, last->at, hits, turnSwipe(card.turnBefore));
    if (kept && within && direction == last->direction)
        hit(direction == SwipeDirection::In ? ExceptionRule::RepeatedIn
                                            : ExceptionRule::RepeatedOut,
            at, hits, turnSwipe(last));
    if (kept && !within && direction == SwipeDirection::Out)
        hit(ExceptionRule::OutWithoutIn, at, hits, turnSwipe(last),
            latestMissingDay(at.day - 1, at.day - 1));
    // The turn before the last is let go: its record's buffer is kept for the new turn, so a
    // card's turns reuse two buffers instead of allocating one a day.
    std::swap(card.turnBefore, card.lastTurn);
    if (!card.lastTurn) {
        card.lastTurn = Turn{at, direction, {}};
        return;
    }
    card.lastTurn->at = at;
    card.lastTurn->direction = direction;
    card.lastTurn->keptRecord.resize(0);
}

// The ins of the day before nextDay that no in or out followed on nextDay: their 24 hours end
// within nextDay, whose file says whether the hit is sure.
void ExceptionFinder::closeOpenIns(const std::vector<qsizetype>& openIns, qint64 nextDay,
                                   DayFileState nextFile, QList<ExceptionHit>& hits)
{
    for (const qsizetype index : openIns) {
        const CardState& card = m_cards[static_cast<std::size_t>(index)];
        const Turn& in = *card.lastTurn;
        if (in.direction != SwipeDirection::In || in.at.day != nextDay - 1 || !inRange(in.at.day) ||
            in.at.when + kDaySeconds > m_now)
            continue;
        hit(ExceptionRule::InWithoutOut, in.at, hits, turnSwipe(card.turnBefore),
            nextFile == DayFileState::Read ? 0 : nextDay);
    }
}

namespace {

// Copies bytes into kept, in the room it has where that is enough.
void keep(QByteArrayView bytes, QByteArray& kept)
{
    kept.resize(bytes.size());
    std::memcpy(kept.data(), bytes.data(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

void ExceptionFinder::keepTurnRecords(const SwipeDay& leaving, const std::vector<qsizetype>& cards)
{
    const qint64 julian = leaving.date.toJulianDay();
    for (std::size_t k = 0; k < cards.size(); ++k) {
        if (k + kLookAhead < cards.size())
            prefetchState(cards[k + kLookAhead]);
        const qsizetype index = cards[k];
        CardState& card = m_cards[static_cast<std::size_t>(index)];
        for (std::optional<Turn>* turn : {&card.lastTurn, &card.turnBefore}) {
            if (*turn && (*turn)->at.day == julian && (*turn)->keptRecord.isEmpty())
                keep(leaving.recordBytes((*turn)->at.row), (*turn)->keptRecord);
        }
    }
}

qint64 ExceptionFinder::latestMissingDay(qint64 from, qint64 to) const
{
    for (qint64 day = to; day >= from; --day) {
        const auto file = m_fileOfDay.constFind(day);
        if (file == m_fileOfDay.cend() || *file != DayFileState::Read)
            return day;
    }
    return 0;
}

const SwipeDay* ExceptionFinder::dayOf(qint64 julianDay) const
{
    if (m_today && m_today->date.toJulianDay() == julianDay)
        return m_today.get();
    if (m_yesterday && m_yesterday->date.toJulianDay() == julianDay)
        return m_yesterday.get();
    return nullptr;
}

const Swipe* ExceptionFinder::madeSwipe(const SwipeAt& place) const
{
    for (const MadeSwipe& made : m_madeSwipes) {
        if (made.day == place.day && made.row == place.row)
            return &made.swipe;
    }
    return nullptr;
}

Swipe ExceptionFinder::remember(const SwipeAt& place, Swipe swipe)
{
    m_madeSwipes[m_nextMadeSwipe] = {place.day, place.row, swipe};
    m_nextMadeSwipe = (m_nextMadeSwipe + 1) % kMadeSwipes;
    return swipe;
}

Swipe ExceptionFinder::swipeAt(const SwipeAt& place)
{
    if (const Swipe* made = madeSwipe(place))
        return *made;
    return remember(place,
                    dayOf(place.day)->swipe(place.row, m_query.recordsFolder, m_query.photoFolder,
                                            m_query.parameterFile, &m_texts));
}

std::optional<Swipe> ExceptionFinder::turnSwipe(const std::optional<Turn>& turn)
{
    if (!turn)
        return std::nullopt;
    if (turn->keptRecord.isEmpty())
        return swipeAt(turn->at);
    if (const Swipe* made = madeSwipe(turn->at))
        return *made;
    RecordTable record(turn->keptRecord);
    record.appendRecordAt(0);
    return remember(turn->at,
                    swipeOfRow(record, 0, QDate::fromJulianDay(turn->at.day), m_query.recordsFolder,
                               m_query.photoFolder, m_query.parameterFile, &m_texts));
}

void ExceptionFinder::hit(ExceptionRule rule, const SwipeAt& at, QList<ExceptionHit>& hits,
                          std::optional<Swipe> reference, qint64 missingDay)
{
    ExceptionHit found;
    found.rule = rule;
    found.swipe = swipeAt(at);
    found.second = static_cast<int>(at.when - at.day * kDaySeconds);
    found.reference = std::move(reference);
    if (missingDay != 0) {
        found.missingDay = QDate::fromJulianDay(missingDay);
        found.missingState = m_fileOfDay.value(missingDay, DayFileState::Missing);
    }
    hits.append(std::move(found));
}

void sortNewestFirst(QList<ExceptionHit>& hits)
{
    std::stable_sort(hits.begin(), hits.end(), [](const ExceptionHit& a, const ExceptionHit& b) {
        if (a.moment() != b.moment())
            return a.moment() > b.moment();
        return a.rule < b.rule;
    });
}

void findExceptions(const ExceptionQuery& query, const ExceptionProgress& progress)
{
    const QList<QDate> dates = exceptionReadDates(query);
    const auto dayCount = static_cast<int>(dates.size());
    ExceptionFinder finder(query);
    std::deque<QFuture<std::shared_ptr<const SwipeDay>>> reading;
    // One day more than the reading threads: while the rules take the oldest day, every reader
    // already has the next one, instead of waiting for the rules to ask for it.
    const int daysAhead = SiteIoBudget::historyDays() + 1;
    // The days being read and the two the rules hold.
    const auto days = std::make_shared<SwipeDayPool>(static_cast<std::size_t>(daysAhead) + 2);
    int next = 0;
    const auto readMore = [&] {
        while (next < dayCount && static_cast<int>(reading.size()) < daysAhead) {
            reading.push_back(runOnSiteIo([days, folder = query.recordsFolder, date = dates[next]] {
                return days->read(folder, date);
            }));
            ++next;
        }
    };
    // One list for every day's hits: grown once, not again for each day.
    QList<ExceptionHit> hits;
    for (int read = 1; read <= dayCount; ++read) {
        readMore();
        QFuture<std::shared_ptr<const SwipeDay>> day = std::move(reading.front());
        reading.pop_front();
        hits.clear();
        finder.addDay(day.result(), hits);
        if (read == dayCount)
            finder.finish(hits);
        if (!progress(hits, read, dayCount))
            return;
    }
}

QList<ExceptionHit> readExceptions(const ExceptionQuery& query)
{
    QList<ExceptionHit> all;
    findExceptions(query, [&all](const QList<ExceptionHit>& hits, int, int) {
        all.append(hits);
        return true;
    });
    sortNewestFirst(all);
    return all;
}

} // namespace card
