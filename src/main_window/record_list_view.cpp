#include "main_window/record_list_view.h"

#include <QItemSelectionModel>
#include <QKeyEvent>

namespace card {

RecordListView::RecordListView(QWidget* parent)
    : QListView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Uniform rows keep a list of a million rows instant to lay out and scroll.
    setUniformItemSizes(true);
    setLayoutMode(QListView::SinglePass);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int RecordListView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void RecordListView::setSelectedRow(int row)
{
    if (!model() || !selectionModel())
        return;
    const QModelIndex index = model()->index(row, modelColumn());
    if (!index.isValid()) {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

QString RecordListView::selectedText() const
{
    const int row = selectedRow();
    if (row < 0)
        return {};
    return model()->index(row, modelColumn()).data().toString();
}

// A press or a key only ever selects a row: Ctrl never clears it, so the four lists stay on
// the row whose photo is shown.
QItemSelectionModel::SelectionFlags RecordListView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const
{
    if (!index.isValid() || (event && event->type() == QEvent::MouseButtonRelease))
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect;
}

void RecordListView::mousePressEvent(QMouseEvent* event)
{
    QListView::mousePressEvent(event);
    emit mousePressed();
}

void RecordListView::keyReleaseEvent(QKeyEvent* event)
{
    QListView::keyReleaseEvent(event);
    // A held key sends a release with every repeat; the row to show is the one selected when
    // the key is really let go.
    if (!event->isAutoRepeat())
        emit keyReleased();
}

} // namespace card
