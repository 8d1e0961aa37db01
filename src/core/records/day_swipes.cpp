#include "core/records/day_swipes.h"

#include "core/platform/file_bytes.h"
#include "core/platform/file_exists.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "core/records/record_walker.h"
#include "core/text/direction_words.h"
#include "core/text/time_of_day.h"
#include "core/text/value_text_matcher.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <bit>
#include <numeric>
#include <optional>

namespace card {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digitPair(const char* p)
{
    return (p[0] - '0') * 10 + (p[1] - '0');
}

// A card number of up to this many digits is packed: below 2^60, leaving four bits for the
// count of its digits.
constexpr qsizetype kMostCardDigits = 18;

// The packedCardNumber of a number of digits digits (1 to kMostCardDigits) and value value.
quint64 packedDigits(quint64 value, qsizetype digits)
{
    return static_cast<quint64>(digits) << 60 | value;
}

// H:MM:SS or HH:MM:SS read on the bytes, the shape card readers write; nothing for any other
// shape, which goes through the full time reading.
std::optional<int> plainClockSeconds(QByteArrayView text)
{
    const qsizetype hourDigits = text.size() - 6;
    if (hourDigits < 1 || hourDigits > 2)
        return std::nullopt;
    const char* p = text.data();
    const char* rest = p + hourDigits;
    if (rest[0] != ':' || rest[3] != ':' || !isDigit(p[0]) || !isDigit(rest[1]) ||
        !isDigit(rest[2]) || !isDigit(rest[4]) || !isDigit(rest[5]))
        return std::nullopt;
    if (hourDigits == 2 && !isDigit(p[1]))
        return std::nullopt;
    const int hour = hourDigits == 2 ? digitPair(p) : p[0] - '0';
    const int minute = digitPair(rest + 1);
    const int second = digitPair(rest + 4);
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return (hour * 60 + minute) * 60 + second;
}

// Sorts each run of the elements in [first, last) that sameRun holds together by less, keeping
// the order of equal ones: a short run by moving its few elements into place, a long one (a
// file far out of order, a card with thousands of swipes) with a sort that stays fast.
template <typename Element, typename SameRun, typename Less>
void sortEachRun(Element* first, Element* last, const SameRun& sameRun, const Less& less)
{
    constexpr std::ptrdiff_t kShortRun = 32;
    for (Element* from = first; from != last;) {
        Element* to = from + 1;
        while (to != last && sameRun(*from, *to))
            ++to;
        if (to - from > kShortRun) {
            std::stable_sort(from, to, less);
        } else {
            for (Element* next = from + 1; next != to; ++next) {
                const Element element = *next;
                Element* place = next;
                for (; place != from && less(element, place[-1]); --place)
                    *place = place[-1];
                *place = element;
            }
        }
        from = to;
    }
}

// Builds a day's swipes record by record. Cards with a packed number are told apart by it with
// no look-up: their swipes are sorted by a hash of it once the day is read, which groups each
// card's swipes and lays the cards out in the same order every day. Other cards are decoded
// once each.
class SwipeDayBuilder {
public:
    SwipeDayBuilder(SwipeDay& day, SwipeSortRoom& room)
        : m_day(day)
        , m_numbered(room.numbered)
        , m_spare(room.spare)
        , m_content(day.table.bytes())
        , m_in(inWord().toString())
        , m_out(outWord().toString())
    {
        // A generous guess at the records: room reserved but never written costs no memory.
        const qsizetype records = m_content.size() / kFewestRecordBytes + 1;
        m_day.table.reserveRows(records);
        m_numbered.clear();
        m_numbered.reserve(static_cast<std::size_t>(records));
    }

    void add(qsizetype start, const RecordSlices& record)
    {
        const auto row = static_cast<quint32>(m_day.table.rowCount());
        m_day.table.appendRecordAt(start);
        const QByteArrayView span = recordSpan(m_content, start, record[DirectionField]);
        const std::optional<int> second = secondOfDay(record[TimeField], span);
        if (!second)
            return;
        const ValueSlice& value = record[CardField];
        const QByteArrayView key = cardKey(value);
        const quint64 number = packedCardNumber(key);
        const SwipeDirection direction = directionOf(record[DirectionField], span);
        if (number == 0) {
            m_others.push_back(DaySwipe{cardOfText(key, value, span), *second, direction, row});
            return;
        }
        m_numbered.push_back({number, DaySwipe{0, *second, direction, row}});
    }

    // A record read on its bytes alone: its time of day, its card's packed number (not 0) and
    // its direction.
    void addKnown(qsizetype start, int second, quint64 number, SwipeDirection direction)
    {
        const auto row = static_cast<quint32>(m_day.table.rowCount());
        m_day.table.appendRecordAt(start);
        m_numbered.push_back({number, DaySwipe{0, second, direction, row}});
    }

    QByteArrayView inBytes() const { return m_in.sure950(); }
    QByteArrayView outBytes() const { return m_out.sure950(); }

    // After the last record: every swipe gets its card, and the swipes are grouped by card in
    // time order.
    void finish()
    {
        sortByNumberHash();
        std::vector<quint64>& numbers = m_day.cardNumbers;
        LargeVector<DaySwipe>& swipes = m_day.swipes;
        swipes.resize(m_numbered.size() + m_others.size());
        for (std::size_t k = 0; k < m_numbered.size(); ++k) {
            if (k == 0 || m_numbered[k].number != m_numbered[k - 1].number)
                numbers.push_back(m_numbered[k].number);
            swipes[k] = m_numbered[k].swipe;
            swipes[k].card = static_cast<qint32>(numbers.size() - 1);
        }
        // The other cards after them, each in the order of its first swipe.
        std::stable_sort(m_others.begin(), m_others.end(),
                         [](const DaySwipe& a, const DaySwipe& b) { return a.card < b.card; });
        const auto firstOther = static_cast<qint32>(numbers.size());
        numbers.resize(numbers.size() + m_day.otherCards.size(), 0);
        for (std::size_t k = 0; k < m_others.size(); ++k) {
            swipes[m_numbered.size() + k] = m_others[k];
            swipes[m_numbered.size() + k].card += firstOther;
        }
        putCardsInTimeOrder();
    }

private:
    // Card readers write about 35 bytes a record.
    static constexpr qsizetype kFewestRecordBytes = 24;

    using NumberedSwipe = SwipeSortRoom::NumberedSwipe;
    static quint64 hashOf(const NumberedSwipe& swipe)
    {
        return CardNumberIndex::hashOf(swipe.number);
    }
    // The hash's top 24 bits in two digits, the lower first: the passes of the sort by number.
    static constexpr int kDigitBits = 12;
    static constexpr std::array<int, 2> kDigitShifts = {40, 52};

    // Stable: in file order within a card. By the hash's top bits a digit at a time, each pass
    // reading and writing the swipes in a row; then the few that share those bits by the whole
    // hash.
    void sortByNumberHash()
    {
        LargeVector<NumberedSwipe>& spare = m_spare;
        spare.resize(m_numbered.size());
        constexpr std::size_t kDigitValues = std::size_t{1} << kDigitBits;
        const auto digitOf = [](const NumberedSwipe& swipe, int pass) {
            return static_cast<std::size_t>(hashOf(swipe) >> kDigitShifts[pass] &
                                            (kDigitValues - 1));
        };
        // Every pass's counts in one reading.
        std::array<std::array<std::size_t, kDigitValues + 1>, kDigitShifts.size()> next{};
        for (const NumberedSwipe& swipe : m_numbered) {
            for (std::size_t pass = 0; pass < kDigitShifts.size(); ++pass)
                ++next[pass][digitOf(swipe, static_cast<int>(pass)) + 1];
        }
        for (std::size_t pass = 0; pass < kDigitShifts.size(); ++pass) {
            std::partial_sum(next[pass].begin(), next[pass].end(), next[pass].begin());
            for (const NumberedSwipe& swipe : m_numbered)
                spare[next[pass][digitOf(swipe, static_cast<int>(pass))]++] = swipe;
            m_numbered.swap(spare);
        }
        sortEachRun(
            m_numbered.data(), m_numbered.data() + m_numbered.size(),
            [](const NumberedSwipe& a, const NumberedSwipe& b) {
                return hashOf(a) >> kDigitShifts.front() == hashOf(b) >> kDigitShifts.front();
            },
            [](const NumberedSwipe& a, const NumberedSwipe& b) { return hashOf(a) < hashOf(b); });
    }

    // File order is nearly time order, so putting each card's few swipes in time order moves
    // little.
    void putCardsInTimeOrder()
    {
        LargeVector<DaySwipe>& swipes = m_day.swipes;
        sortEachRun(
            swipes.data(), swipes.data() + swipes.size(),
            [](const DaySwipe& a, const DaySwipe& b) { return a.card == b.card; },
            [](const DaySwipe& a, const DaySwipe& b) { return a.second < b.second; });
    }

    std::optional<int> secondOfDay(const ValueSlice& value, QByteArrayView span) const
    {
        const QByteArrayView raw = m_content.sliced(value.begin, value.length);
        if (const std::optional<int> plain = plainClockSeconds(raw))
            return plain;
        return timeOfDaySeconds(valueText(m_content, value, m_codecs.forRecord(span)));
    }

    SwipeDirection directionOf(const ValueSlice& value, QByteArrayView span) const
    {
        // Both words' own bytes first: most values are one of them, and neither then needs
        // the fuller comparison.
        if (m_in.matchesSure950(m_content, value))
            return SwipeDirection::In;
        if (m_out.matchesSure950(m_content, value))
            return SwipeDirection::Out;
        if (m_in.matches(m_content, value, span))
            return SwipeDirection::In;
        if (m_out.matches(m_content, value, span))
            return SwipeDirection::Out;
        return SwipeDirection::Other;
    }

    // A number's bytes in its shortest form (a negative one as written), other values as
    // written: two records with the same key show the same card number.
    QByteArrayView cardKey(const ValueSlice& value) const
    {
        const QByteArrayView raw = m_content.sliced(value.begin, value.length);
        if (!value.isNumber)
            return raw;
        const CanonicalNumberParts parts = canonicalNumberParts(raw);
        return parts.negative ? raw : parts.digits;
    }

    // The card's place among the other cards. A key of non-ASCII bytes is not remembered: its
    // text depends on its record's encoding.
    qint32 cardOfText(QByteArrayView key, const ValueSlice& value, QByteArrayView span)
    {
        const auto known = m_cardOfKey.constFind(key);
        if (known != m_cardOfKey.cend())
            return *known;
        // Keys written differently may still show the same number (-07 and -7).
        const QString text = valueText(m_content, value, m_codecs.forRecord(span));
        auto shown = m_cardOfText.constFind(text);
        if (shown == m_cardOfText.cend()) {
            shown = m_cardOfText.insert(text, static_cast<qint32>(m_day.otherCards.size()));
            m_day.otherCards.push_back(text);
        }
        if (isAscii(key))
            m_cardOfKey.insert(key, *shown);
        return *shown;
    }

    SwipeDay& m_day;
    // The numbered cards' swipes before they are grouped by card, and room for sorting them.
    LargeVector<NumberedSwipe>& m_numbered;
    LargeVector<NumberedSwipe>& m_spare;
    std::vector<DaySwipe> m_others; // the other cards' swipes, each with its place among them
    QByteArrayView m_content;
    RecordCodecs m_codecs;
    ValueTextMatcher m_in;
    ValueTextMatcher m_out;
    QHash<QByteArrayView, qint32> m_cardOfKey; // views into the day's bytes, which outlive it
    QHash<QString, qint32> m_cardOfText;
};

// The value that opens with the quote at quote, up to the next quote; false when no quote
// closes it or no byte follows the closing one.
bool quotedValue(QByteArrayView content, qsizetype quote, ValueSlice& value)
{
    // Values are a few bytes long: a plain loop beats a library search's set-up.
    const char* data = content.data();
    const qsizetype begin = quote + 1;
    qsizetype close = begin;
    while (close < content.size() && data[close] != '"')
        ++close;
    if (close + 1 >= content.size())
        return false;
    value = {begin, close - begin, false};
    return true;
}

// Whether word, a few bytes, stands at data, of which left bytes remain: compared byte by byte,
// as a library compare's set-up costs more than the bytes.
bool wordAt(const char* data, qsizetype left, QByteArrayView word)
{
    if (word.isEmpty() || word.size() > left)
        return false;
    for (qsizetype k = 0; k < word.size(); ++k) {
        if (data[k] != word[k])
            return false;
    }
    return true;
}

// What a record of the commonest shape gives, read in one go on its bytes.
struct KnownRecord {
    int second = 0;
    quint64 number = 0;
    SwipeDirection direction = SwipeDirection::Other;
    qsizetype next = 0; // where the next record begins
};

// The record at start when it is exactly HH:MM:SS,"digits","name","進" or 出 and a line end or
// comma: a valid time of day, a card of 1 to 18 digits, a direction in code page 950. Nothing
// for any other record, which the fuller readings take. Reads the bytes once, at fixed places
// where it can.
std::optional<KnownRecord> knownRecord(QByteArrayView content, qsizetype start, QByteArrayView in,
                                       QByteArrayView out)
{
    const char* data = content.data() + start;
    const qsizetype left = content.size() - start;
    // HH:MM:SS, then the card's opening quote; the rest is looked for within the record.
    constexpr qsizetype kTime = 8;
    constexpr qsizetype kTimeAndQuote = kTime + 2;
    if (left < kTimeAndQuote || data[kTime] != ',' || data[kTime + 1] != '"')
        return std::nullopt;
    const std::optional<int> second = plainClockSeconds(QByteArrayView(data, kTime));
    if (!second)
        return std::nullopt;
    quint64 value = 0;
    qsizetype at = kTimeAndQuote;
    for (; at < left && isDigit(data[at]); ++at) {
        if (at - kTimeAndQuote == kMostCardDigits)
            return std::nullopt;
        value = value * 10 + static_cast<quint64>(data[at] - '0');
    }
    const qsizetype digits = at - kTimeAndQuote;
    if (digits == 0 || at + 2 >= left || data[at] != '"' || data[at + 1] != ',' ||
        data[at + 2] != '"')
        return std::nullopt;
    at += 3;
    while (at < left && data[at] != '"')
        ++at;
    if (at + 2 >= left || data[at + 1] != ',' || data[at + 2] != '"')
        return std::nullopt;
    at += 3;
    SwipeDirection direction = SwipeDirection::Other;
    qsizetype word = 0;
    if (wordAt(data + at, left - at, in)) {
        direction = SwipeDirection::In;
        word = in.size();
    } else if (wordAt(data + at, left - at, out)) {
        direction = SwipeDirection::Out;
        word = out.size();
    } else {
        return std::nullopt;
    }
    at += word;
    if (at + 1 >= left || data[at] != '"')
        return std::nullopt;
    const char ending = data[at + 1];
    if (ending != ',' && ending != '\r' && ending != '\n')
        return std::nullopt;
    const bool crLf = ending == '\r' && at + 2 < left && data[at + 2] == '\n';
    const qsizetype next = start + at + 2 + (crLf ? 1 : 0);
    return KnownRecord{*second, packedDigits(value, digits), direction, next};
}

// The records in the shape card readers write, 08:15:30,"00012345","陳怡君","進" and a line end,
// read on their bytes in one pass: a time of digits and colons, three quoted values with a
// comma right after each closing quote but the last, which a separator follows. Hands each to
// builder and returns where the first record of any other shape begins (or the end), from
// where the full reading goes on: blanks, doubled quotes and records over several lines all
// read as the value reader reads them.
qsizetype readPlainRecords(QByteArrayView content, qsizetype from, SwipeDayBuilder& builder)
{
    const char* data = content.data();
    const qsizetype size = content.size();
    RecordSlices record;
    qsizetype start = from;
    const QByteArrayView in = builder.inBytes();
    const QByteArrayView out = builder.outBytes();
    while (start < size) {
        if (const std::optional<KnownRecord> known = knownRecord(content, start, in, out)) {
            builder.addKnown(start, known->second, known->number, known->direction);
            start = known->next;
            continue;
        }
        qsizetype at = start;
        bool colon = false; // a time without one would be an unquoted number
        for (; at < size && (isDigit(data[at]) || data[at] == ':'); ++at)
            colon |= data[at] == ':';
        if (!colon || at + 1 >= size || data[at] != ',' || data[at + 1] != '"')
            return start;
        record[TimeField] = {start, at - start, false};
        at += 1;
        for (const RecordField field : {CardField, NameField}) {
            if (!quotedValue(content, at, record[field]))
                return start;
            at = record[field].begin + record[field].length + 1;
            if (data[at] != ',' || at + 1 >= size || data[at + 1] != '"')
                return start;
            at += 1;
        }
        if (!quotedValue(content, at, record[DirectionField]))
            return start;
        const qsizetype separator =
            record[DirectionField].begin + record[DirectionField].length + 1;
        const char ending = data[separator];
        if (ending != ',' && ending != '\r' && ending != '\n')
            return start;
        builder.add(start, record);
        const bool crLf = ending == '\r' && separator + 1 < size && data[separator + 1] == '\n';
        start = separator + 1 + (crLf ? 1 : 0);
    }
    return start;
}

// Hands every whole record from from on to builder: the record walker finds the values; where
// it cannot follow the layout the value reader reads the rest.
void readAllRecords(QByteArrayView content, qsizetype from, SwipeDayBuilder& builder)
{
    RecordSlices record;
    const auto onValue = [&](const WalkedValue& value) {
        if (value.index == NameField)
            return;
        record[value.index] = walkedValueSlice(content, value);
        if (value.index == DirectionField)
            builder.add(value.recordStart, record);
    };
    RecordWalker walker(content, from);
    if (walker.walkTo(content.size(), onValue)) {
        walker.finish(onValue);
        return;
    }
    ValueReader reader(content, walker.recordStart());
    while (!reader.atEnd()) {
        const qsizetype start = reader.position();
        if (!readRecord(reader, record))
            return;
        builder.add(start, record);
    }
}

} // namespace

quint64 packedCardNumber(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > kMostCardDigits)
        return 0;
    quint64 value = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return 0;
        value = value * 10 + static_cast<quint64>(c - '0');
    }
    return packedDigits(value, text.size());
}

CardNumberIndex::CardNumberIndex(std::size_t expected)
    : m_slots(std::bit_ceil(std::max<std::size_t>(expected, 512) * 2))
    , m_slotBits(std::countr_zero(m_slots.size()))
{}

std::pair<qint32, bool> CardNumberIndex::add(quint64 number, qint32 next)
{
    if ((m_used + 1) * 2 > m_slots.size())
        grow();
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = slotOf(number);; at = (at + 1) & mask) {
        Slot& slot = m_slots[at];
        if (slot.number == number)
            return {slot.index, false};
        if (slot.number == 0) {
            slot = {number, next};
            ++m_used;
            return {next, true};
        }
    }
}

void CardNumberIndex::grow()
{
    const LargeVector<Slot> old = std::exchange(m_slots, LargeVector<Slot>(m_slots.size() * 2));
    ++m_slotBits;
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.number == 0)
            continue;
        std::size_t at = slotOf(slot.number);
        while (m_slots[at].number != 0)
            at = (at + 1) & mask;
        m_slots[at] = slot;
    }
}

QByteArrayView SwipeDay::recordBytes(quint32 row) const
{
    // Every record of the file is a row, so a record but the last runs to where the next row
    // begins, with no need to read it again.
    const qsizetype next = static_cast<qsizetype>(row) + 1;
    if (next >= table.rowCount())
        return table.recordBytes(row);
    const qsizetype start = table.recordStart(row);
    return table.bytes().sliced(start, table.recordStart(next) - start);
}

Swipe SwipeDay::swipe(quint32 row, const QString& recordsFolder, const QString& photoFolder,
                      const QString& parameterFile, SharedTexts* shared) const
{
    return swipeOfRow(table, row, date, recordsFolder, photoFolder, parameterFile, shared);
}

namespace {

// day's swipes from the bytes its table holds, in day's memory.
void buildSwipeDay(QDate date, SwipeDay& day, SwipeSortRoom& room)
{
    day.date = date;
    day.file = DayFileState::Read;
    day.cardNumbers.clear();
    day.otherCards.clear();
    // day.swipes keeps the earlier day's size: grouping writes every swipe anew, and what is
    // there already needs no initializing.
    SwipeDayBuilder builder(day, room);
    const QByteArrayView content = day.table.bytes();
    readAllRecords(content, readPlainRecords(content, utf8BomLength(content), builder), builder);
    builder.finish();
}

} // namespace

SwipeDay swipeDayOf(QDate date, QByteArray bytes)
{
    SwipeDay day;
    day.table.setBytes(std::move(bytes));
    SwipeSortRoom room;
    buildSwipeDay(date, day, room);
    return day;
}

SwipeDay readSwipeDay(const QString& recordsFolder, QDate date)
{
    SwipeDay day;
    SwipeSortRoom room;
    readSwipeDay(recordsFolder, date, day, room);
    return day;
}

void readSwipeDay(const QString& recordsFolder, QDate date, SwipeDay& day, SwipeSortRoom& room)
{
    QByteArray bytes = day.table.takeBytes();
    const QString path = recordFilePath(recordsFolder, date);
    const bool exists = fileExists(path);
    const bool read =
        exists && readFileSnapshot(path, kMaxRecordFileSize, bytes) == FileReadStatus::Ok;
    day.table.setBytes(std::move(bytes));
    if (read) {
        buildSwipeDay(date, day, room);
        return;
    }
    day = SwipeDay();
    day.date = date;
    day.file = exists ? DayFileState::Unreadable : DayFileState::Missing;
}

std::shared_ptr<const SwipeDay> SwipeDayPool::read(const QString& recordsFolder, QDate date)
{
    std::unique_ptr<SwipeDay> day = take(m_free);
    std::unique_ptr<SwipeSortRoom> room = take(m_rooms);
    readSwipeDay(recordsFolder, date, *day, *room);
    letGo(std::move(room));
    return {day.release(), [pool = shared_from_this()](SwipeDay* done) {
                pool->letGo(done);
            }};
}

template <typename Kept>
std::unique_ptr<Kept> SwipeDayPool::take(std::vector<std::unique_ptr<Kept>>& free)
{
    const std::lock_guard lock(m_mutex);
    if (free.empty())
        return std::make_unique<Kept>();
    std::unique_ptr<Kept> kept = std::move(free.back());
    free.pop_back();
    return kept;
}

void SwipeDayPool::letGo(std::unique_ptr<SwipeSortRoom> room)
{
    const std::lock_guard lock(m_mutex);
    m_rooms.push_back(std::move(room));
}

void SwipeDayPool::letGo(SwipeDay* day)
{
    std::unique_ptr<SwipeDay> owned(day);
    const std::lock_guard lock(m_mutex);
    if (m_free.size() < m_keep)
        m_free.push_back(std::move(owned));
}

} // namespace card
