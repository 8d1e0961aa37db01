#include "ui/history/history_days_model.h"

#include "core/records/day_file_words.h"
#include "core/text/day_text.h"
#include "ui/history/card_history_texts.h"

#include <algorithm>

namespace card {

void HistoryDaysModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_cards = {};
    endResetModel();
}

void HistoryDaysModel::addDays(const QList<HistoryDay>& entries)
{
    const QList<Row> added = admittedRows(entries);
    qsizetype at = 0; // where the next added row goes among the rows
    for (qsizetype next = 0; next < added.size();) {
        const auto goesAt = [&](const Row& row) {
            return at == m_rows.size() || m_rows[at].day.date < row.day.date;
        };
        while (!goesAt(added[next]))
            ++at;
        qsizetype end = next + 1;
        while (end < added.size() && goesAt(added[end]))
            ++end;
        const auto first = static_cast<int>(at);
        beginInsertRows({}, first, first + static_cast<int>(end - next) - 1);
        for (; next < end; ++next)
            m_rows.insert(at++, added[next]);
        endInsertRows();
    }
}

// The rows of the entries' admitted cards, newest day first, each day's in the order read.
QList<HistoryDaysModel::Row> HistoryDaysModel::admittedRows(const QList<HistoryDay>& entries)
{
    QList<Row> rows;
    for (qsizetype dayStart = 0; dayStart < entries.size();) {
        qsizetype dayEnd = dayStart + 1;
        while (dayEnd < entries.size() && entries[dayEnd].date == entries[dayStart].date)
            ++dayEnd;
        for (const HistoryDay& day : m_cards.admit(entries.mid(dayStart, dayEnd - dayStart)))
            rows.append(Row{day, summarizeDay(day), hourCounts(day)});
        dayStart = dayEnd;
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.day.date > b.day.date; });
    return rows;
}

QList<Swipe> HistoryDaysModel::allSwipes() const
{
    QList<Swipe> swipes;
    for (const Row& row : m_rows)
        swipes.append(row.day.swipes);
    return swipes;
}

bool HistoryDaysModel::hasSwipes() const
{
    return std::any_of(m_rows.cbegin(), m_rows.cend(),
                       [](const Row& row) { return !row.day.swipes.isEmpty(); });
}

int HistoryDaysModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int HistoryDaysModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HistoryDaysModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    return text(m_rows[index.row()], index.column());
}

QVariant HistoryDaysModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return history_texts::kDayColumns[section];
}

QString HistoryDaysModel::text(const Row& row, int column) const
{
    const bool read = row.day.file == DayFileState::Read;
    switch (column) {
    case Date:
        return dayText(row.day.date);
    case Weekday:
        return history_texts::kWeekdays[row.day.date.dayOfWeek() - 1];
    case Card:
        return row.day.card;
    case Name:
        return row.day.name;
    case FirstIn:
        if (row.day.file == DayFileState::Missing)
            return day_file_words::kNoDayFile;
        return read ? row.summary.firstIn : day_file_words::kUnreadable;
    case LastOut:
        return row.summary.lastOut;
    case Count:
        return read ? QString::number(row.summary.swipeCount) : QString();
    case Span:
        return row.summary.span;
    default:
        return {};
    }
}

} // namespace card
