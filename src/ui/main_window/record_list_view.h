// A result list: a list view that reports every mouse press and key release, except the release
// of a key whose press one of the window's shortcuts took.
#pragma once

#include <QListView>

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

signals:
    // Emitted after the view has moved its selection, so a handler reads the pressed row.
    void mousePressed();
    void keyReleased();
    // Emitted after keyReleased when the key let go was Enter and its press came to the list.
    void enterReleased();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
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
};

} // namespace card
