#include "ui/presence/presence_model.h"

#include "core/cases/case_store.h"
#include "core/text/day_text.h"
#include "ui/common/photo_loader.h"
#include "ui/presence/presence_texts.h"

#include <algorithm>

namespace card {

namespace {

const QString kTickTime = QStringLiteral("MM-dd HH:mm:ss");

} // namespace

QString entryKey(const Swipe& entry)
{
    return swipeKey(entry.day, entry.time, entry.card);
}

PresenceModel::PresenceModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_noPhoto(noPhotoThumbnail(kPresencePictureSize))
{}

int PresenceModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_people.size());
}

int PresenceModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(presence_texts::kHeadings.size());
}

QVariant PresenceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return presence_texts::kHeadings.value(section);
}

Qt::ItemFlags PresenceModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == SafeColumn ? flags | Qt::ItemIsUserCheckable : flags;
}

QVariant PresenceModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_people.size())
        return {};
    const PresentPerson& person = m_people[index.row()];
    const SafetyTick tick = m_ticks.value(entryKey(person.entry));
    switch (role) {
    case Qt::DecorationRole:
        if (index.column() == PictureColumn)
            return m_pictures.value(entryKey(person.entry));
        return {};
    case Qt::SizeHintRole:
        return index.column() == PictureColumn ? QVariant(kPresencePictureSize) : QVariant();
    case Qt::CheckStateRole:
        if (index.column() == SafeColumn)
            return tick.who.isEmpty() ? Qt::Unchecked : Qt::Checked;
        return {};
    case Qt::DisplayRole:
        break;
    default:
        return {};
    }
    switch (index.column()) {
    case CardColumn:
        return person.entry.card;
    case NameColumn:
        return person.entry.name;
    case EnteredColumn:
        return momentText(person.entered);
    case SpanColumn:
        return presenceSpan(person.entered, m_moment);
    case SafeColumn:
        return tick.who.isEmpty() ? QString() : tick.who + u' ' + tick.when.toString(kTickTime);
    default:
        return {};
    }
}

bool PresenceModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != SafeColumn ||
        index.row() >= m_people.size())
        return false;
    emit tickAsked(m_people[index.row()], value.toInt() == Qt::Checked);
    return true;
}

void PresenceModel::setPeople(QList<PresentPerson> people, const QDateTime& moment,
                              PresenceOrder order)
{
    sortPresent(people, order);
    m_moment = moment;
    const auto sameEntry = [](const PresentPerson& a, const PresentPerson& b) {
        return a.entry == b.entry;
    };
    if (order == m_order &&
        std::equal(people.begin(), people.end(), m_people.begin(), m_people.end(), sameEntry)) {
        if (!m_people.isEmpty())
            emit dataChanged(index(0, SpanColumn), index(rowCount() - 1, SpanColumn));
        return;
    }
    beginResetModel();
    m_people = std::move(people);
    m_order = order;
    endResetModel();
}

void PresenceModel::setOrder(PresenceOrder order)
{
    beginResetModel();
    m_order = order;
    sortPresent(m_people, m_order);
    endResetModel();
}

QList<PresentPerson> PresenceModel::withoutPicture() const
{
    QList<PresentPerson> missing;
    for (const PresentPerson& person : m_people) {
        if (!m_pictures.contains(entryKey(person.entry)))
            missing.append(person);
    }
    return missing;
}

void PresenceModel::setPicture(const Swipe& entry, const QImage& image)
{
    const QString key = entryKey(entry);
    m_pictures.insert(key, image.isNull() ? m_noPhoto : QPixmap::fromImage(image));
    for (int row = 0; row < m_people.size(); ++row) {
        if (entryKey(m_people[row].entry) == key)
            emit dataChanged(index(row, PictureColumn), index(row, PictureColumn));
    }
}

void PresenceModel::setTick(const Swipe& entry, const SafetyTick& tick)
{
    const QString key = entryKey(entry);
    if (tick.who.isEmpty())
        m_ticks.remove(key);
    else
        m_ticks.insert(key, tick);
    for (int row = 0; row < m_people.size(); ++row) {
        if (entryKey(m_people[row].entry) == key)
            emit dataChanged(index(row, SafeColumn), index(row, SafeColumn));
    }
}

void PresenceModel::setTicks(const QHash<QString, SafetyTick>& ticks)
{
    m_ticks = ticks;
    if (!m_people.isEmpty())
        emit dataChanged(index(0, SafeColumn), index(m_people.size() - 1, SafeColumn));
}

} // namespace card
