#include "core/records/live_rows.h"

#include "core/records/live_follower.h"
#include "core/records/record_table.h"

#include <algorithm>

namespace card {

bool livePasses(const RecordCriteria& criteria, const Swipe& swipe)
{
    if (criteria.cardFilterOn && swipe.card != criteria.cardText)
        return false;
    switch (criteria.direction) {
    case DirectionChoice::All:
        return true;
    case DirectionChoice::In:
        return swipe.direction == inWord();
    case DirectionChoice::Out:
        return swipe.direction == outWord();
    case DirectionChoice::None:
        break;
    }
    return false;
}

LiveRowModel::LiveRowModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

int LiveRowModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

int LiveRowModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kRecordFieldCount;
}

QVariant LiveRowModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Row& row = m_shown[static_cast<size_t>(index.row())];
    switch (role) {
    case FreshRole:
        return row.serial >= m_freshFrom;
    case SeparatorRole:
        return row.separatorDay;
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return row.swipe.columnTexts().at(index.column());
    default:
        return {};
    }
}

void LiveRowModel::add(const QList<Swipe>& swipes, QDate day)
{
    m_freshFrom = m_nextSerial;
    for (const Swipe& swipe : swipes) {
        if (m_day.isValid() && swipe.day != m_day)
            appendSeparator(swipe.day);
        m_day = swipe.day;
        m_waiting.push_back(Row{swipe, {}, m_nextSerial++});
    }
    if (m_day.isValid() && day != m_day)
        appendSeparator(day);
    m_day = day;
    if (m_waiting.size() > static_cast<size_t>(kLiveRowLimit))
        m_waiting.erase(m_waiting.begin(), m_waiting.end() - kLiveRowLimit);
    if (!m_paused)
        show(std::exchange(m_waiting, {}));
}

void LiveRowModel::clear()
{
    beginResetModel();
    m_kept.clear();
    m_shown.clear();
    m_waiting.clear();
    m_day = {};
    endResetModel();
}

void LiveRowModel::appendSeparator(QDate day)
{
    m_waiting.push_back(Row{{}, day, m_nextSerial++});
}

void LiveRowModel::show(std::vector<Row> rows)
{
    std::vector<Row> passing;
    for (Row& row : rows) {
        if (passes(row))
            passing.push_back(row);
        m_kept.push_front(std::move(row));
    }
    if (!passing.empty()) {
        beginInsertRows({}, 0, static_cast<int>(passing.size()) - 1);
        for (Row& row : passing)
            m_shown.push_front(std::move(row));
        endInsertRows();
    }
    trimKept();
}

// Rows beyond the limit leave from the bottom, and so do their shown rows.
void LiveRowModel::trimKept()
{
    if (m_kept.size() <= static_cast<size_t>(kLiveRowLimit))
        return;
    const quint64 oldestKept = m_kept[static_cast<size_t>(kLiveRowLimit) - 1].serial;
    m_kept.resize(static_cast<size_t>(kLiveRowLimit));
    const auto firstGone = std::find_if(m_shown.begin(), m_shown.end(), [oldestKept](const Row& r) {
        return r.serial < oldestKept;
    });
    if (firstGone == m_shown.end())
        return;
    const int first = static_cast<int>(firstGone - m_shown.begin());
    beginRemoveRows({}, first, static_cast<int>(m_shown.size()) - 1);
    m_shown.erase(firstGone, m_shown.end());
    endRemoveRows();
}

bool LiveRowModel::passes(const Row& row) const
{
    return row.separatorDay.isValid() || livePasses(m_filter, row.swipe);
}

void LiveRowModel::setFilter(const RecordCriteria& criteria)
{
    beginResetModel();
    m_filter = criteria;
    m_shown.clear();
    std::copy_if(m_kept.cbegin(), m_kept.cend(), std::back_inserter(m_shown),
                 [this](const Row& row) { return passes(row); });
    endResetModel();
}

qsizetype LiveRowModel::waitingCount() const
{
    return std::count_if(m_waiting.cbegin(), m_waiting.cend(), [this](const Row& row) {
        return !row.separatorDay.isValid() && passes(row);
    });
}

void LiveRowModel::setPaused(bool paused)
{
    m_paused = paused;
    if (paused || m_waiting.empty())
        return;
    m_freshFrom = m_waiting.front().serial; // everything that came meanwhile is new to the eye
    show(std::exchange(m_waiting, {}));
}

void LiveRowModel::fadeHighlight()
{
    m_freshFrom = m_nextSerial;
    if (!m_shown.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {FreshRole});
}

const Swipe* LiveRowModel::swipeAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    const Row& shown = m_shown[static_cast<size_t>(row)];
    return shown.separatorDay.isValid() ? nullptr : &shown.swipe;
}

} // namespace card
