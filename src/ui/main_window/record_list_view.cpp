#include "ui/main_window/record_list_view.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace card {

namespace {

// Draws every row on one line: a value may hold line ends (inside quotes), and a taller row in
// one list would set the four lists out of step.
class OneLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        for (QChar& c : option->text) {
            if (isLineBreak(c))
                c = u' ';
        }
    }

private:
    static bool isLineBreak(QChar c)
    {
        return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85) ||
               c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    }
};

} // namespace

RecordListView::RecordListView(QWidget* parent)
    : QListView(parent)
{
    setItemDelegate(new OneLineDelegate(this));
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

// A move with the button held does not move the selection: the four lists, the photo and the
// details stay on the pressed row.
void RecordListView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QListView::mouseMoveEvent(event);
}

void RecordListView::keyReleaseEvent(QKeyEvent* event)
{
    QListView::keyReleaseEvent(event);
    // A held key sends a release with every repeat; the row to show is the one selected when
    // the key is really let go.
    if (event->isAutoRepeat())
        return;
    emit keyReleased();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        emit enterReleased();
}

} // namespace card
