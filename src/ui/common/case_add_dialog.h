// Putting a swipe into a case: the dialog that asks which case and what note, and the adding.
#pragma once

#include "core/records/swipe.h"

#include <QDialog>

#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QPlainTextEdit;

namespace card {

class CaseAddDialog : public QDialog {
    Q_OBJECT
public:
    // openCases: the names offered, newest first; a name typed anew makes a case.
    CaseAddDialog(QWidget* parent, const QStringList& openCases);

    QString caseName() const;
    QString note() const;

private:
    QComboBox* m_name = nullptr;
    QPlainTextEdit* m_note = nullptr;
};

// Asks for the case and the note, finds the swipe's photo files on the site pool and adds it to
// the case with them; says what went wrong in a message box, the adding in a passing message.
void addSwipeToCase(QWidget* parent, const Swipe& swipe);

// "加入案件…" (Ctrl+B) in view (in the whole window when view is one), adding the swipe chosen()
// gives, if any.
QAction* addCaseAction(QWidget* view, const std::function<std::optional<Swipe>()>& chosen);

} // namespace card
