#include "ui/main_window/record_list_view.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include <utility>

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

namespace {

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

// Every key press is first offered to the focused list as a shortcut override; a press that a
// shortcut then takes never arrives as a key press.
bool RecordListView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride)
        m_pressTakenByShortcut = true;
    return QListView::event(event);
}

void RecordListView::focusInEvent(QFocusEvent* event)
{
    m_pressTakenByShortcut = false;
    m_enterPressed = false;
    QListView::focusInEvent(event);
}

void RecordListView::keyPressEvent(QKeyEvent* event)
{
    m_pressTakenByShortcut = false;
    if (isEnter(event->key()))
        m_enterPressed = true;
    if (selectsFirstRow(event->key()))
        return;
    QListView::keyPressEvent(event);
}

// With no row selected (as after a query) the first Down, Up, Home or Space selects the first
// row, as the parameter file list does; afterwards the keys move one row as usual.
bool RecordListView::selectsFirstRow(int key)
{
    const bool firstKey =
        key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_Home || key == Qt::Key_Space;
    if (!firstKey || selectedRow() >= 0 || !model() || model()->rowCount() == 0)
        return false;
    setSelectedRow(0);
    return true;
}

void RecordListView::keyReleaseEvent(QKeyEvent* event)
{
    QListView::keyReleaseEvent(event);
    // A held key sends a release with every repeat; the row to show is the one selected when
    // the key is really let go.
    if (event->isAutoRepeat() || m_pressTakenByShortcut)
        return;
    emit keyReleased();
    if (isEnter(event->key()) && std::exchange(m_enterPressed, false))
        emit enterReleased();
}

} // namespace card
