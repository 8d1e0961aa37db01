#include "ui/main_window/date_picker.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace card {

DatePicker::DatePicker(QWidget* parent)
    : QDateEdit(parent)
{
    lineEdit()->installEventFilter(this);
}

// The click has placed the cursor in a part by the time the button is let go.
bool DatePicker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
        !lineEdit()->hasSelectedText())
        setSelectedSection(currentSection());
    return QDateEdit::eventFilter(watched, event);
}

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
