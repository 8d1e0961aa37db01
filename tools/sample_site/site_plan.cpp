#include "site_plan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <set>

namespace card {

namespace {

// Raw mt19937 output is the same in every standard library; its distributions are not, so
// values are taken from the engine directly to keep the files byte-identical everywhere.
using Random = std::mt19937;

constexpr std::uint32_t kHolderSeed = 20070503;
constexpr std::uint32_t kDaySeedBase = 1000;

constexpr int kHolderCount = 40;
// The last holders have card numbers without leading zeros; only they appear unquoted, so a
// card number read as a plain number still names the holder's photos.
constexpr int kZeroLedHolders = 32;
constexpr int kUnquotedPerDay = 3;

// One holder, a guard on rounds, swipes all day long, so a card's whole day is worth looking
// at. The guard's swipes come from a random stream of their own: the other swipes stay as
// they were.
constexpr int kBusyHolder = 0;
constexpr int kBusySwipes = 48;
constexpr std::uint32_t kBusySeedBase = 5000;

// The quiet days: a few swipes of other holders, the guard in the morning and out in the
// evening with a round or two between, absent on some days and once back at night.
constexpr int kQuietOthers = 20;
constexpr int kQuietRounds = 2;
constexpr std::array<int, 2> kClosedDays = {12, 13};
constexpr std::array<int, 3> kGuardAbsentDays = {9, 18, 24};
constexpr int kNightVisitDay = 20;
constexpr int kNightIn = 2 * 3600 + 47 * 60 + 12;
constexpr int kNightOut = 3 * 3600 + 5 * 60 + 40;

// Swipes that do not fit, a few of each kind on the quiet days, so the exceptions window has
// something to show beside the guard's night visit: a second in, an out without an in, an in
// without an out, a burst, a second out and a late visit. Each is {daysBack, holder, second,
// in}; they take no value from the random streams, so every other swipe stays as it was.
struct PlantedSwipe {
    int daysBack;
    int holder;
    int second;
    bool in;
};
constexpr std::array<PlantedSwipe, 15> kPlanted = {{
    {15, 3, 8 * 3600 + 2 * 60 + 11, true},
    {15, 3, 8 * 3600 + 40 * 60 + 5, true},
    {15, 3, 17 * 3600 + 20 * 60, false},
    {16, 4, 12 * 3600 + 20 * 60 + 30, false},
    {17, 5, 9 * 3600 + 15 * 60, true},
    {14, 6, 10 * 3600 + 5, true},
    {14, 6, 10 * 3600 + 21, false},
    {14, 6, 10 * 3600 + 44, true},
    {14, 6, 17 * 3600 + 31 * 60 + 10, false},
    {11, 2, 8 * 3600 + 10 * 60, true},
    {11, 2, 17 * 3600 + 5 * 60, false},
    {11, 2, 17 * 3600 + 6 * 60 + 30, false},
    {10, 7, 22 * 3600 + 35 * 60 + 18, true},
    {10, 7, 23 * 3600 + 2 * 60 + 44, false},
    {8, 9, 4 * 3600 + 58 * 60 + 3, true},
}};

constexpr int kMinSwipes = 200;
constexpr int kMaxSwipes = 400;
constexpr int kOpening = 7 * 3600;
constexpr int kClosing = 20 * 3600;

int pick(Random& random, int count)
{
    return int(random() % std::uint32_t(count));
}

const std::array<const char16_t*, kHolderCount> kNames = {
    u"陳怡君", u"林志明", u"黃淑芬", u"張家豪", u"李雅婷", u"王建宏", u"吳美玲", u"劉俊傑",
    u"蔡佩珊", u"楊宗翰", u"許文彬", u"鄭雅雯", u"謝明哲", u"郭淑惠", u"洪志偉", u"曾怡萱",
    u"邱建志", u"廖美惠", u"賴俊宏", u"周佳穎", u"徐志豪", u"蘇怡婷", u"葉家銘", u"莊淑娟",
    u"呂宗憲", u"江雅琪", u"何明宏", u"蕭文雄", u"羅曉萍", u"高志成", u"潘怡如", u"簡俊賢",
    u"朱麗華", u"鍾國華", u"彭秀英", u"游振宇", u"詹惠雯", u"胡哲瑋", u"施慧玲", u"沈冠廷"};

QList<CardHolder> makeCardHolders()
{
    Random random(kHolderSeed);
    QList<CardHolder> holders;
    std::set<std::uint32_t> used;
    for (int i = 0; i < kHolderCount; ++i) {
        std::uint32_t number = 0;
        do {
            number = i < kZeroLedHolders ? random() % 1000000u : 10000000u + random() % 90000000u;
        } while (!used.insert(number).second);
        holders.append({QStringLiteral("%1").arg(number, 8, 10, QLatin1Char('0')),
                        QString::fromUtf16(kNames[std::size_t(i)])});
    }
    return holders;
}

// Seconds of the day: half spread over opening hours, half around the rush hours.
int swipeSecond(Random& random)
{
    constexpr std::array<int, 4> kRushHours = {8 * 3600, 12 * 3600, 13 * 3600, 17 * 3600 + 1800};
    constexpr int kRushSpread = 30 * 60;
    if (pick(random, 2) == 0)
        return kOpening + pick(random, kClosing - kOpening);
    const int rush = kRushHours[std::size_t(pick(random, int(kRushHours.size())))];
    return rush - kRushSpread + pick(random, 2 * kRushSpread);
}

std::set<int> swipeSeconds(Random& random)
{
    const int count = kMinSwipes + pick(random, kMaxSwipes - kMinSwipes + 1);
    std::set<int> seconds;
    while (int(seconds.size()) < count)
        seconds.insert(swipeSecond(random));
    return seconds;
}

// Roughly 40% stills, 25% full sequences, 15% sequences with gaps, 20% nothing.
void choosePhotos(Random& random, PlannedSwipe& swipe)
{
    static const QList<QList<int>> kGaps = {{5, 3, 1}, {4, 2}, {1}, {2, 3, 5}, {1, 2}};
    const int roll = pick(random, 100);
    if (roll < 40) {
        swipe.photoKind = PhotoKind::Still;
    } else if (roll < 65) {
        swipe.photoKind = PhotoKind::Sequence;
        swipe.frames = {1, 2, 3, 4, 5};
    } else if (roll < 80) {
        swipe.photoKind = PhotoKind::Incomplete;
        swipe.frames = kGaps[pick(random, int(kGaps.size()))];
    }
}

// The guard's rounds: seconds over the opening hours that no other swipe takes, each with its
// own photos, merged in time order.
void addBusyHolder(const std::set<int>& taken, int daysBack, QList<PlannedSwipe>& swipes)
{
    Random random(kBusySeedBase + std::uint32_t(daysBack));
    std::set<int> seconds;
    while (int(seconds.size()) < kBusySwipes) {
        const int second = kOpening + pick(random, kClosing - kOpening);
        if (!taken.count(second))
            seconds.insert(second);
    }
    for (int second : seconds) {
        PlannedSwipe swipe;
        swipe.time = QTime(0, 0).addSecs(second);
        swipe.holder = kBusyHolder;
        choosePhotos(random, swipe);
        swipes.append(swipe);
    }
    std::stable_sort(swipes.begin(), swipes.end(),
                     [](const PlannedSwipe& a, const PlannedSwipe& b) { return a.time < b.time; });
}

// A holder's first swipe of the day goes in, the next out, and so on.
void assignDirections(QList<PlannedSwipe>& swipes)
{
    std::array<int, kHolderCount> seen{};
    for (PlannedSwipe& swipe : swipes)
        swipe.direction =
            seen[std::size_t(swipe.holder)]++ % 2 == 0 ? Direction::In : Direction::Out;
}

void markUnquoted(Random& random, QList<PlannedSwipe>& swipes)
{
    QList<qsizetype> candidates;
    for (qsizetype i = 0; i < swipes.size(); ++i) {
        if (swipes[i].holder >= kZeroLedHolders)
            candidates.append(i);
    }
    for (int n = 0; n < kUnquotedPerDay && !candidates.isEmpty(); ++n)
        swipes[candidates.takeAt(pick(random, int(candidates.size())))].cardQuoted = false;
}

void markShortHour(QList<PlannedSwipe>& swipes)
{
    const auto it = std::find_if(swipes.begin(), swipes.end(),
                                 [](const PlannedSwipe& s) { return s.time.hour() == 8; });
    if (it != swipes.end())
        it->shortHour = true;
}

PlannedSwipe plannedAt(Random& random, int second, int holder)
{
    PlannedSwipe swipe;
    swipe.time = QTime(0, 0).addSecs(second);
    swipe.holder = holder;
    choosePhotos(random, swipe);
    return swipe;
}

// The guard's seconds on a quiet day: in between 7:30 and 8:30, rounds, out after 17:00.
std::set<int> guardSeconds(Random& random, int daysBack)
{
    std::set<int> seconds;
    if (std::find(kGuardAbsentDays.cbegin(), kGuardAbsentDays.cend(), daysBack) !=
        kGuardAbsentDays.cend())
        return seconds;
    seconds.insert(7 * 3600 + 1800 + pick(random, 3600));
    for (int round = 0; round < kQuietRounds; ++round)
        seconds.insert(10 * 3600 + pick(random, 6 * 3600));
    seconds.insert(17 * 3600 + pick(random, 3600));
    if (daysBack == kNightVisitDay)
        seconds.insert({kNightIn, kNightOut});
    return seconds;
}

void addPlanted(int daysBack, QList<PlannedSwipe>& swipes)
{
    for (const PlantedSwipe& planted : kPlanted) {
        if (planted.daysBack != daysBack)
            continue;
        PlannedSwipe swipe;
        swipe.time = QTime(0, 0).addSecs(planted.second);
        swipe.holder = planted.holder;
        swipe.direction = planted.in ? Direction::In : Direction::Out;
        swipe.photoKind = PhotoKind::Still;
        swipes.append(swipe);
    }
    std::stable_sort(swipes.begin(), swipes.end(),
                     [](const PlannedSwipe& a, const PlannedSwipe& b) { return a.time < b.time; });
}

DayPlan planQuietDay(const QDate& date, int daysBack)
{
    Random random(kDaySeedBase + std::uint32_t(daysBack));
    DayPlan plan{date, {}};
    const std::set<int> guard = guardSeconds(random, daysBack);
    std::set<int> others;
    while (int(others.size()) < kQuietOthers) {
        const int second = swipeSecond(random);
        if (!guard.count(second))
            others.insert(second);
    }
    for (int second : guard)
        plan.swipes.append(plannedAt(random, second, kBusyHolder));
    for (int second : others)
        plan.swipes.append(plannedAt(random, second, 1 + pick(random, kHolderCount - 1)));
    std::stable_sort(plan.swipes.begin(), plan.swipes.end(),
                     [](const PlannedSwipe& a, const PlannedSwipe& b) { return a.time < b.time; });
    assignDirections(plan.swipes);
    addPlanted(daysBack, plan.swipes);
    return plan;
}

} // namespace

bool siteOpen(int daysBack)
{
    return std::find(kClosedDays.cbegin(), kClosedDays.cend(), daysBack) == kClosedDays.cend();
}

const QList<CardHolder>& cardHolders()
{
    static const QList<CardHolder> holders = makeCardHolders();
    return holders;
}

DayPlan planDay(const QDate& date, int daysBack)
{
    if (daysBack >= kDaysPerSite)
        return planQuietDay(date, daysBack);
    Random random(kDaySeedBase + std::uint32_t(daysBack));
    DayPlan plan{date, {}};
    const std::set<int> seconds = swipeSeconds(random);
    for (int second : seconds) {
        PlannedSwipe swipe;
        swipe.time = QTime(0, 0).addSecs(second);
        swipe.holder = pick(random, kHolderCount);
        choosePhotos(random, swipe);
        plan.swipes.append(swipe);
    }
    addBusyHolder(seconds, daysBack, plan.swipes);
    assignDirections(plan.swipes);
    markUnquoted(random, plan.swipes);
    markShortHour(plan.swipes);
    return plan;
}

} // namespace card
