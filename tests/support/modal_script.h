// Answers the modal windows a test opens (dialogs, message boxes, input boxes), one step per
// modal window in the order they appear, and records what each of them showed.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <queue>

namespace card::test {

struct SeenModal {
    QString objectName;
    QString title;
    QString text;         // a message box's text or an input box's prompt; empty for other windows
    bool expected = true; // false when no step was left: the window was closed by its frame
};

class ModalScript {
public:
    using Step = std::function<void(QWidget* modal)>;

    // Watches from construction until destruction. A modal window that appears when no step
    // is left is closed by its frame and recorded as unexpected, so a test never hangs.
    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Presses the button whose objectName or text is button.
    ModalScript& press(const QString& button);
    // Types text into the modal's line edit (an input box's entry), then presses button.
    ModalScript& enter(const QString& text, const QString& button);
    // Closes the window by its frame's close box.
    ModalScript& close();
    // Any other answer; a step may open further modal windows, answered by later steps. A
    // window a step leaves open (a failed check in it, say) is then closed by its frame.
    ModalScript& then(Step step);

    const QList<SeenModal>& seen() const { return m_seen; }
    // Steps not used yet.
    qsizetype pending() const { return static_cast<qsizetype>(m_steps.size()); }

private:
    void poll();
    void answer(QWidget* modal);

    std::queue<Step> m_steps;
    QList<SeenModal> m_seen;
    // Guarded: a window built later at the address of a destroyed one is a new window.
    QList<QPointer<QWidget>> m_answered;
    std::shared_ptr<bool> m_alive;
};

// The button of window whose objectName or text is name; fails the test when there is none.
void pressButton(QWidget* window, const QString& name);

} // namespace card::test
