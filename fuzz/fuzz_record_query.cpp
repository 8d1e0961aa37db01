// The day file reader with both filters over arbitrary bytes, and every kept row as text; the
// day read in two parts at once gives exactly the rows of one pass, and both give exactly the
// rows of the value reader alone; every value the record walker passes is the value reader's;
// the rules' day read keeps every record and gives each swipe its own record's card, time and
// direction.
// Input: one byte (filter choices in the low four bits, where to split the day in sixteenths
// in the high four), the card text up to the first '\n', then the file.
#include "core/records/day_swipes.h"
#include "core/records/record_reader.h"
#include "core/records/record_walker.h"
#include "core/text/direction_words.h"
#include "core/text/text_decoding.h"
#include "core/text/time_of_day.h"
#include "core/text/value_reader.h"
#include "fuzz_input.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

card::RecordCriteria criteriaFrom(std::uint8_t choices, QByteArrayView cardText)
{
    card::RecordCriteria criteria;
    criteria.cardFilterOn = (choices & 1) != 0;
    criteria.cardText = QString::fromUtf8(cardText);
    criteria.direction =
        card::directionChoice((choices & 2) != 0, (choices & 4) != 0, (choices & 8) != 0);
    return criteria;
}

// Complete records in bytes, counted with the plain value reader.
qsizetype recordCount(QByteArrayView bytes)
{
    card::ValueReader reader(bytes.sliced(card::utf8BomLength(bytes)));
    card::ValueSlice value;
    qsizetype values = 0;
    while (reader.next(value))
        ++values;
    return values / card::kRecordFieldCount;
}

bool sameSlices(const card::ValueSlice& x, const card::ValueSlice& y)
{
    return x.begin == y.begin && x.length == y.length && x.isNumber == y.isNumber;
}

// The records the criteria keep, read with the value reader alone, one value after another.
std::vector<card::RecordSlices> keptByValueReader(QByteArrayView file,
                                                  const card::RecordCriteria& criteria)
{
    const qsizetype from = card::utf8BomLength(file);
    const card::RecordFilter filter(criteria);
    card::ValueReader reader(file, from);
    std::vector<card::RecordSlices> kept;
    card::RecordSlices record;
    for (qsizetype start = from; card::readRecord(reader, record); start = reader.position()) {
        if (filter.keeps(file, start, record))
            kept.push_back(record);
    }
    return kept;
}

bool sameAsKept(const card::RecordTable& table, const std::vector<card::RecordSlices>& kept)
{
    if (table.rowCount() != static_cast<qsizetype>(kept.size()))
        return false;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        const card::RecordSlices slices = table.slices(row);
        for (int k = 0; k < card::kRecordFieldCount; ++k) {
            if (!sameSlices(slices[k], kept[static_cast<size_t>(row)][k]))
                return false;
        }
    }
    return true;
}

// Each value the walker passes, up to where it gives up, begins where the value reader's next
// value begins and reads as that value; a walk to the end leaves the value reader no value.
bool walkerFollowsValueReader(QByteArrayView file)
{
    const qsizetype from = card::utf8BomLength(file);
    card::ValueReader reader(file, from);
    bool same = true;
    const auto compare = [&](const card::WalkedValue& walked) {
        const qsizetype begin = reader.position();
        card::ValueSlice value;
        same = same && begin == walked.begin && reader.next(value) &&
               reader.position() == walked.next &&
               sameSlices(card::walkedValueSlice(file, walked), value);
    };
    card::RecordWalker walker(file, from);
    if (!walker.walkTo(file.size(), compare))
        return same;
    walker.finish(compare);
    return same && reader.atEnd();
}

bool sameRows(const card::RecordTable& a, const card::RecordTable& b)
{
    if (a.rowCount() != b.rowCount())
        return false;
    for (qsizetype row = 0; row < a.rowCount(); ++row) {
        const card::RecordSlices x = a.slices(row);
        const card::RecordSlices y = b.slices(row);
        for (int k = 0; k < card::kRecordFieldCount; ++k) {
            if (x[k].begin != y[k].begin || x[k].length != y[k].length ||
                x[k].isNumber != y[k].isNumber)
                return false;
        }
    }
    return true;
}

} // namespace

// A record's values as text, in full (the table's shown texts cut long values).
QString fullText(const card::RecordTable& table, qsizetype row, int field)
{
    static const card::RecordCodecs codecs;
    return card::valueText(table.bytes(), table.slices(row)[field], codecs.of(table.encoding(row)));
}

// A swipe's time, card and direction are those its record's values give.
bool swipeIsItsRecord(const card::SwipeDay& day, const card::DaySwipe& swipe)
{
    const QString card = fullText(day.table, swipe.row, card::CardField);
    const QString direction = fullText(day.table, swipe.row, card::DirectionField);
    const auto index = static_cast<std::size_t>(swipe.card);
    const quint64 number = day.cardNumbers[index];
    const bool sameCard = number != 0 ? number == card::packedCardNumber(card.toLatin1())
                                      : day.otherCard(swipe.card) == card;
    const card::SwipeDirection expected = direction == card::inWord() ? card::SwipeDirection::In
                                          : direction == card::outWord()
                                              ? card::SwipeDirection::Out
                                              : card::SwipeDirection::Other;
    return sameCard &&
           card::timeOfDaySeconds(fullText(day.table, swipe.row, card::TimeField)) ==
               swipe.second &&
           swipe.direction == expected;
}

// Every record a row, in the value reader's reading; a swipe for each record with a time.
bool swipeDayFollowsValueReader(QByteArrayView file, qsizetype records)
{
    const card::SwipeDay day = card::swipeDayOf(QDate(2026, 5, 10), file.toByteArray());
    if (day.table.rowCount() != records || !sameAsKept(day.table, keptByValueReader(file, {})))
        return false;
    qsizetype timed = 0;
    for (qsizetype row = 0; row < day.table.rowCount(); ++row)
        timed += card::timeOfDaySeconds(fullText(day.table, row, card::TimeField)) ? 1 : 0;
    return static_cast<qsizetype>(day.swipes.size()) == timed &&
           std::all_of(day.swipes.begin(), day.swipes.end(), [&day](const card::DaySwipe& swipe) {
               return swipeIsItsRecord(day, swipe);
           });
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<card::fuzz::DayFileInput> input = card::fuzz::dayFileInput(data, size);
    if (!input)
        return 0;
    const std::uint8_t choices = input->choices;
    const QByteArrayView file = input->file;
    const card::RecordCriteria criteria = criteriaFrom(choices, input->text);

    const card::RecordTable table =
        card::readRecordsSplitAt(file.toByteArray(), criteria, file.size());
    const qsizetype splitAt = file.size() * (choices >> 4) / 16;
    if (!sameRows(card::readRecordsSplitAt(file.toByteArray(), criteria, splitAt), table))
        __builtin_trap();
    if (!sameAsKept(table, keptByValueReader(file, criteria)) || !walkerFollowsValueReader(file))
        __builtin_trap();
    const qsizetype all = recordCount(file);
    if (table.rowCount() > all || !swipeDayFollowsValueReader(file, all))
        __builtin_trap();
    if (!criteria.cardFilterOn && criteria.direction == card::DirectionChoice::All &&
        table.rowCount() != all)
        __builtin_trap();
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < card::kRecordFieldCount; ++column)
            (void)table.text(row, column);
    }
    return 0;
}
