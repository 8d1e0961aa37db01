// A push button as operators know them from the card-reader software's own windows.
#pragma once

#include <QPushButton>

namespace card {

// Enter and the keypad's Enter press it when it has the focus, as Space does; a caption wider
// than the button wraps onto further lines, centred, instead of being clipped.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(const QString& caption, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace card
