#include "ui/main_window/record_list_view.h"

#include <QCursor>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
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
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
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
    if (!firstKey || selectedRow() >= 0 || rowCount() == 0)
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

int RecordListView::rowCount() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

// Every row shows one line of text, so one measure fits all: the height of a line of Chinese
// text as the style draws an item.
int RecordListView::rowHeight() const
{
    if (m_rowHeight == 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.features |= QStyleOptionViewItem::HasDisplay;
        option.text = QStringLiteral("國");
        m_rowHeight = std::max(
            1, style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height());
    }
    return m_rowHeight;
}

int RecordListView::topRow() const
{
    return verticalScrollBar()->value();
}

int RecordListView::wholeRowsShown() const
{
    return std::max(1, viewport()->height() / rowHeight());
}

int RecordListView::rowsShown() const
{
    return (viewport()->height() + rowHeight() - 1) / rowHeight();
}

QModelIndex RecordListView::rowIndex(int row) const
{
    return model() ? model()->index(row, modelColumn(), rootIndex()) : QModelIndex();
}

QRect RecordListView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.parent() != rootIndex() || index.column() != modelColumn())
        return {};
    return {0, (index.row() - topRow()) * rowHeight(), viewport()->width(), rowHeight()};
}

QModelIndex RecordListView::indexAt(const QPoint& point) const
{
    if (point.y() < 0 || point.x() < 0 || point.x() >= viewport()->width())
        return {};
    const int row = topRow() + point.y() / rowHeight();
    return row < rowCount() ? rowIndex(row) : QModelIndex();
}

void RecordListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int row = index.row();
    const int shown = wholeRowsShown();
    int top = topRow();
    switch (hint) {
    case EnsureVisible:
        if (row < top)
            top = row;
        else if (row >= top + shown)
            top = row - shown + 1;
        break;
    case PositionAtTop:
        top = row;
        break;
    case PositionAtBottom:
        top = row - shown + 1;
        break;
    case PositionAtCenter:
        top = row - shown / 2;
        break;
    }
    verticalScrollBar()->setValue(top);
}

// The scroll range is all the layout there is.
void RecordListView::doItemsLayout()
{
    QAbstractItemView::doItemsLayout();
}

void RecordListView::updateGeometries()
{
    const int shown = wholeRowsShown();
    QScrollBar* bar = verticalScrollBar();
    bar->setSingleStep(1);
    bar->setPageStep(shown);
    bar->setRange(0, std::max(0, rowCount() - shown));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

QModelIndex RecordListView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int count = rowCount();
    if (count == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return rowIndex(0);
    const int row = current.row();
    const int page = std::max(1, wholeRowsShown() - 1);
    int target = row;
    switch (action) {
    case MoveUp:
    case MovePrevious:
        target = row - 1;
        break;
    case MoveDown:
    case MoveNext:
        target = row + 1;
        break;
    case MovePageUp:
        target = row - page;
        break;
    case MovePageDown:
        target = row + page;
        break;
    case MoveHome:
        target = 0;
        break;
    case MoveEnd:
        target = count - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return rowIndex(std::clamp(target, 0, count - 1));
}

int RecordListView::horizontalOffset() const
{
    return 0;
}

int RecordListView::verticalOffset() const
{
    return topRow() * rowHeight();
}

bool RecordListView::isIndexHidden(const QModelIndex&) const
{
    return false;
}

void RecordListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    if (!selectionModel())
        return;
    const QRect area = rect.normalized();
    const int first = std::max(0, topRow() + area.top() / rowHeight());
    const int last = std::min(rowCount() - 1, topRow() + area.bottom() / rowHeight());
    QItemSelection rows;
    if (first <= last && area.bottom() >= 0)
        rows.select(rowIndex(first), rowIndex(last));
    selectionModel()->select(rows, command);
}

QRegion RecordListView::visualRegionForSelection(const QItemSelection& selection) const
{
    const int top = topRow();
    const int bottom = top + rowsShown() - 1;
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        const int first = std::max(range.top(), top);
        const int last = std::min(range.bottom(), bottom);
        if (range.parent() == rootIndex() && first <= last)
            region += QRect(0, (first - top) * rowHeight(), viewport()->width(),
                            (last - first + 1) * rowHeight());
    }
    return region;
}

void RecordListView::scrollContentsBy(int dx, int dy)
{
    Q_UNUSED(dx);
    QAbstractItemView::scrollContentsBy(0, dy * rowHeight());
}

QStyleOptionViewItem RecordListView::rowOption(const QStyleOptionViewItem& base,
                                               const QModelIndex& index, bool focusShown,
                                               const QModelIndex& hovered) const
{
    QStyleOptionViewItem option = base;
    option.rect = visualRect(index);
    if (selectionModel() && selectionModel()->isSelected(index))
        option.state |= QStyle::State_Selected;
    if (base.state & QStyle::State_Enabled) {
        const bool enabled = (model()->flags(index) & Qt::ItemIsEnabled) != 0;
        option.state.setFlag(QStyle::State_Enabled, enabled);
        option.palette.setCurrentColorGroup(enabled ? QPalette::Normal : QPalette::Disabled);
    }
    if (focusShown && index == currentIndex())
        option.state |= QStyle::State_HasFocus;
    option.state.setFlag(QStyle::State_MouseOver, index == hovered);
    return option;
}

// Only the rows in view are asked for their text and drawn.
void RecordListView::paintEvent(QPaintEvent* event)
{
    QStyleOptionViewItem base;
    initViewItemOption(&base);
    QPainter painter(viewport());
    const bool focusShown = (hasFocus() || viewport()->hasFocus()) && currentIndex().isValid();
    // Styles that light the row under the pointer see it as in any list view.
    const QModelIndex hovered = viewport()->underMouse()
                                    ? indexAt(viewport()->mapFromGlobal(QCursor::pos()))
                                    : QModelIndex();
    const QRect dirty = event->rect();
    const int top = topRow();
    const int first = top + std::max(0, dirty.top()) / rowHeight();
    const int last = std::min(rowCount() - 1, top + dirty.bottom() / rowHeight());
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = rowIndex(row);
        itemDelegateForIndex(index)->paint(&painter, rowOption(base, index, focusShown, hovered),
                                           index);
    }
}

void RecordListView::resizeEvent(QResizeEvent* event)
{
    QAbstractItemView::resizeEvent(event);
}

void RecordListView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_rowHeight = 0;
    QListView::changeEvent(event);
}

} // namespace card
