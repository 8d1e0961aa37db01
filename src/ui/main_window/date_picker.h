// The date picker DTPicker1.
#pragma once

#include <QDateEdit>

namespace card {

// A date edit that is one stop of the window's focus order: Tab and Shift+Tab leave it at once,
// as a date picker does on the operators' desktops; the arrow keys move between its parts.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace card
