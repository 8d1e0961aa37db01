#include "core/records/card_day.h"

#include "core/records/record_file.h"
#include "core/records/record_reader.h"

namespace card {

RecordCriteria cardDayCriteria(const QString& card)
{
    RecordCriteria criteria;
    criteria.cardFilterOn = true;
    criteria.cardText = card;
    criteria.direction = DirectionChoice::All;
    return criteria;
}

CardDay cardDay(const RecordTable& table, const Swipe& shown)
{
    CardDay day;
    day.swipes.reserve(table.rowCount());
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        Swipe swipe = shown;
        swipe.time = table.text(row, TimeField);
        swipe.card = table.text(row, CardField);
        swipe.name = table.text(row, NameField);
        swipe.direction = table.text(row, DirectionField);
        if (day.shownRow < 0 && swipe == shown)
            day.shownRow = row;
        day.swipes.append(std::move(swipe));
    }
    return day;
}

CardDay readCardDay(const Swipe& shown)
{
    RecordTable table;
    readRecordFile(recordFilePath(shown.recordsFolder, shown.day), cardDayCriteria(shown.card),
                   table);
    return cardDay(table, shown);
}

} // namespace card
