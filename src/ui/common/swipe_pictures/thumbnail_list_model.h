// The rows of a thumbnail strip: a text under a small picture that arrives later, and one row
// marked as the one shown.
#pragma once

#include <QAbstractListModel>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QStringList>

namespace card {

class ThumbnailListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        ThumbnailStateRole = Qt::UserRole + 1, // a ThumbnailState
    };
    enum ThumbnailState { Pending, Shown, NoPhoto };

    ThumbnailListModel(const QSize& thumbnailSize, QObject* parent);

    // Replaces all rows, their pictures pending.
    void setTexts(const QStringList& texts);
    // The row's picture; a null image shows the no-photo picture.
    void setThumbnail(int row, const QImage& image);
    // The row shown in the large picture (bold); -1 for none.
    void setMarkedRow(int row);
    int markedRow() const { return m_marked; }
    // The row whose photo is the card's reference (a tick before its text); -1 for none.
    void setTickedRow(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Row {
        QString text;
        QPixmap picture;
        ThumbnailState state = Pending;
    };

    QPixmap m_pending;
    QPixmap m_noPhoto;
    QList<Row> m_rows;
    int m_marked = -1;
    int m_ticked = -1;
};

} // namespace card
