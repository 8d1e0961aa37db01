#include "ui/history/history_days_model.h"

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

void HistoryDaysModel::addDay(const QList<HistoryDay>& entries)
{
    const QList<HistoryDay> admitted = m_cards.admit(entries);
    if (admitted.isEmpty())
        return;
    const QDate date = admitted.first().date;
    const auto place = std::find_if(m_rows.cbegin(), m_rows.cend(),
                                    [date](const Row& row) { return row.day.date < date; });
    const auto first = static_cast<int>(place - m_rows.cbegin());
    beginInsertRows({}, first, first + static_cast<int>(admitted.size()) - 1);
    int at = first;
    for (const HistoryDay& day : admitted)
        m_rows.insert(at++, Row{day, summarizeDay(day), hourCounts(day)});
    endInsertRows();
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
        return row.day.date.toString(QStringLiteral("yyyy-MM-dd"));
    case Weekday:
        return history_texts::kWeekdays[row.day.date.dayOfWeek() - 1];
    case Card:
        return row.day.card;
    case Name:
        return row.day.name;
    case FirstIn:
        if (row.day.file == DayFileState::Missing)
            return history_texts::kNoDayFile;
        return read ? row.summary.firstIn : history_texts::kUnreadableDayFile;
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
