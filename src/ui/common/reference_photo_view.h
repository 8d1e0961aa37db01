// The card's reference photo, shown beside a swipe's photo at the same height with the day and
// time it was taken under it; a card without one says so quietly.
//
// Without a reference it takes only the room of its quiet caption; with one it asks for as much
// room as a photo, so that beside another photo with the same stretch both get the same size.
//
// It reads the case store when the card changes and again whenever the store announces a
// change (a pin or a removal in any window). A store that cannot be used shows no reference.
#pragma once

#include "core/cases/case_records.h"
#include "core/records/swipe.h"

#include <QImage>
#include <QWidget>

#include <optional>

class QLabel;

namespace card {

class ReferencePhotoView : public QWidget {
    Q_OBJECT
public:
    explicit ReferencePhotoView(QWidget* parent);

    // Shows the reference of card at the site of the parameter file sitePath; an empty card
    // shows nothing.
    void showCard(const QString& sitePath, const QString& card);
    const std::optional<CardReference>& reference() const { return m_reference; }
    // The view's size for a picture of pictureSize with the caption under it.
    QSize sizeForPicture(const QSize& pictureSize) const;
    QSize sizeHint() const override;

signals:
    // The shown card's reference was read again: pinned, replaced, removed or another card.
    void referenceRead();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void readReference();
    void showPicture();

    QLabel* m_picture;
    QLabel* m_caption;
    QString m_sitePath;
    QString m_card;
    std::optional<CardReference> m_reference;
    QImage m_decoded;     // the reference's picture, decoded once for its SHA-256
    QString m_decodedSha; // of the bytes m_decoded came from
};

// Pins the photo file at path, shown for swipe, as its card's reference: the file is read on
// the site pool, then kept in the store with who and when; a failure is said over parent.
void pinReference(QWidget* parent, const Swipe& swipe, const QString& path);
// Removes the reference of swipe's card; the store's trail names the file removed.
void removeReference(QWidget* parent, const Swipe& swipe);

// True when swipe is the one the reference photo was taken at.
bool isReferenceSwipe(const CardReference& reference, const Swipe& swipe);

} // namespace card
