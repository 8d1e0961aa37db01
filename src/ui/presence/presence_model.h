// The rows of the presence window: one per person inside, with the entry swipe's small picture
// and the safety tick.
#pragma once

#include "core/cases/safety_ticks.h"
#include "core/records/presence.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSize>

namespace card {

// The size of a row's picture.
inline constexpr QSize kPresencePictureSize(64, 48);

class PresenceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { PictureColumn, CardColumn, NameColumn, EnteredColumn, SpanColumn, SafeColumn };

    explicit PresenceModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The people inside at moment, in order. Pictures already loaded and ticks stay with their
    // person; when the people are the same, only the time inside changes (rows, selection and
    // scrolling stay).
    void setPeople(QList<PresentPerson> people, const QDateTime& moment, PresenceOrder order);
    void setOrder(PresenceOrder order);
    const QList<PresentPerson>& people() const { return m_people; }
    const QDateTime& moment() const { return m_moment; }

    // The people whose pictures are not loaded yet.
    QList<PresentPerson> withoutPicture() const;
    // A null image shows the no-photo picture.
    void setPicture(const Swipe& entry, const QImage& image);

    // The person of entry ticked as safe, or the tick taken back (an empty who).
    void setTick(const Swipe& entry, const SafetyTick& tick);
    // Every tick at once, by entryKey, as the trail keeps them.
    void setTicks(const QHash<QString, SafetyTick>& ticks);

signals:
    // The operator ticked a person or took the tick back.
    void tickAsked(const PresentPerson& person, bool ticked);

private:
    QList<PresentPerson> m_people;
    QDateTime m_moment;
    PresenceOrder m_order = PresenceOrder::NewestEntryFirst;
    QHash<QString, QPixmap> m_pictures; // by the entry swipe
    QHash<QString, SafetyTick> m_ticks; // by the entry swipe
    QPixmap m_noPhoto;
};

// The key of a person's entry swipe: the same swipe gives the same key in every roll call.
QString entryKey(const Swipe& entry);

} // namespace card
