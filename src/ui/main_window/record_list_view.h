// A result list: a list view that reports every mouse press and key release, except the release
// of a key whose press one of the window's shortcuts took.
#pragma once

#include <QListView>

#include <QStyleOptionViewItem>

namespace card {

class RecordListView : public QListView {
    Q_OBJECT
public:
    explicit RecordListView(QWidget* parent = nullptr);

    // The selected row, -1 when none.
    int selectedRow() const;
    // Selects row (and scrolls to it); -1 clears the selection.
    void setSelectedRow(int row);
    // The text of the selected row, empty when none.
    QString selectedText() const;

    // Rows are one line of one height each, scrolled a row at a time: where a row lies is
    // computed from its number, so a day of a million rows needs no layout pass.
    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;

signals:
    // Emitted after the view has moved its selection, so a handler reads the pressed row.
    void mousePressed();
    void keyReleased();
    // Emitted after keyReleased when the key let go was Enter and its press came to the list.
    void enterReleased();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool selectsFirstRow(int key);

    // A shortcut took the last key press: the keys of its combination let go are its own.
    bool m_pressTakenByShortcut = false;
    bool m_enterPressed = false;
    int rowCount() const;
    int rowHeight() const;
    int topRow() const;
    // Rows that fit the viewport whole (at least one), and those it shows at least in part.
    int wholeRowsShown() const;
    int rowsShown() const;
    QModelIndex rowIndex(int row) const;
    QStyleOptionViewItem rowOption(const QStyleOptionViewItem& base, const QModelIndex& index,
                                   bool focusShown, const QModelIndex& hovered) const;

    mutable int m_rowHeight = 0; // 0 until measured for the current font and style
};

} // namespace card
