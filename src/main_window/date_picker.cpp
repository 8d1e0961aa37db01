#include "main_window/date_picker.h"

namespace card {

bool DatePicker::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
}

} // namespace card
