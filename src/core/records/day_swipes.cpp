#include "core/records/day_swipes.h"

#include "core/platform/file_bytes.h"
#include "core/platform/file_exists.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "core/records/record_walker.h"
#include "core/text/time_of_day.h"
#include "core/text/value_text_matcher.h"

#include <QHash>

#include <algorithm>
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

// Builds a day's swipes record by record: cards are told apart on their bytes first (one hash
// look-up a record, no decoding) and decoded once each.
class SwipeDayBuilder {
public:
    explicit SwipeDayBuilder(SwipeDay& day)
        : m_day(day)
        , m_content(day.table.bytes())
        , m_in(QStringLiteral("進"))
        , m_out(QStringLiteral("出"))
    {}

    void add(qsizetype start, const RecordSlices& record)
    {
        const auto row = static_cast<quint32>(m_day.table.rowCount());
        m_day.table.appendRecordAt(start);
        const QByteArrayView span = recordSpan(m_content, start, record[DirectionField]);
        const std::optional<int> second = secondOfDay(record[TimeField], span);
        if (!second)
            return;
        m_day.swipes.push_back(DaySwipe{cardOf(record[CardField], span), *second,
                                        directionOf(record[DirectionField], span), row});
    }

    void sortByCard()
    {
        std::sort(m_day.swipes.begin(), m_day.swipes.end(),
                  [](const DaySwipe& a, const DaySwipe& b) {
                      if (a.card != b.card)
                          return a.card < b.card;
                      return a.second != b.second ? a.second < b.second : a.row < b.row;
                  });
    }

private:
    std::optional<int> secondOfDay(const ValueSlice& value, QByteArrayView span) const
    {
        const QByteArrayView raw = m_content.sliced(value.begin, value.length);
        if (const std::optional<int> plain = plainClockSeconds(raw))
            return plain;
        return timeOfDaySeconds(valueText(m_content, value, m_codecs.forRecord(span)));
    }

    SwipeDirection directionOf(const ValueSlice& value, QByteArrayView span) const
    {
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

    // A key of non-ASCII bytes is not remembered: its text depends on its record's encoding.
    qint32 cardOf(const ValueSlice& value, QByteArrayView span)
    {
        const QByteArrayView key = cardKey(value);
        const auto known = m_cardOfKey.constFind(key);
        if (known != m_cardOfKey.cend())
            return *known;
        // Keys written differently may still show the same number (-07 and -7).
        const QString text = valueText(m_content, value, m_codecs.forRecord(span));
        auto shown = m_cardOfText.constFind(text);
        if (shown == m_cardOfText.cend()) {
            shown = m_cardOfText.insert(text, static_cast<qint32>(m_day.cards.size()));
            m_day.cards.push_back(text);
        }
        if (isAscii(key))
            m_cardOfKey.insert(key, *shown);
        return *shown;
    }

    SwipeDay& m_day;
    QByteArrayView m_content;
    RecordCodecs m_codecs;
    ValueTextMatcher m_in;
    ValueTextMatcher m_out;
    QHash<QByteArrayView, qint32> m_cardOfKey; // views into the day's bytes, which outlive it
    QHash<QString, qint32> m_cardOfText;
};

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

Swipe SwipeDay::swipe(quint32 row, const QString& recordsFolder, const QString& photoFolder,
                      const QString& parameterFile) const
{
    return {table.text(row, TimeField),
            table.text(row, CardField),
            table.text(row, NameField),
            table.text(row, DirectionField),
            date,
            recordsFolder,
            photoFolder,
            parameterFile};
}

SwipeDay swipeDayOf(QDate date, QByteArray bytes)
{
    SwipeDay day;
    day.date = date;
    day.file = DayFileState::Read;
    const qsizetype bom = utf8BomLength(bytes);
    day.table = RecordTable(std::move(bytes));
    SwipeDayBuilder builder(day);
    readAllRecords(day.table.bytes(), bom, builder);
    builder.sortByCard();
    return day;
}

SwipeDay readSwipeDay(const QString& recordsFolder, QDate date)
{
    SwipeDay day;
    day.date = date;
    const QString path = recordFilePath(recordsFolder, date);
    if (!fileExists(path))
        return day;
    QByteArray bytes;
    if (readFileSnapshot(path, kMaxRecordFileSize, bytes) != FileReadStatus::Ok) {
        day.file = DayFileState::Unreadable;
        return day;
    }
    return swipeDayOf(date, std::move(bytes));
}

} // namespace card
