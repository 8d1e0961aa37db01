// The date picker of the main window.
#pragma once

#include <QDateEdit>

namespace card {

// A date edit that is one stop of the window's focus order: Tab and Shift+Tab leave it at once,
// as a date picker does on the operators' desktops; the arrow keys move between its parts. A
// click selects the part clicked, so typed digits replace it as in any date field.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace card
