#include "ui/main_window/date_picker.h"

#include <QKeyEvent>

namespace card {

bool DatePicker::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
}

// Ctrl+Left and Ctrl+Right step between the parts through the same hook that Tab now leaves by;
// they keep the date edit's own stepping.
void DatePicker::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (event->modifiers().testFlag(Qt::ControlModifier) &&
        (key == Qt::Key_Left || key == Qt::Key_Right)) {
        event->accept();
        QDateEdit::focusNextPrevChild(key == Qt::Key_Right);
        return;
    }
    QDateEdit::keyPressEvent(event);
}

} // namespace card
