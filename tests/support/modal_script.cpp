#include "support/modal_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

namespace card::test {

namespace {

constexpr int kPollMs = 10;

QString shownText(QWidget* modal)
{
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        return box->text();
    if (auto* input = qobject_cast<QInputDialog*>(modal))
        return input->labelText();
    return {};
}

} // namespace

ModalScript::ModalScript()
    : m_alive(std::make_shared<bool>(true))
{
    poll();
}

ModalScript::~ModalScript()
{
    *m_alive = false;
}

ModalScript& ModalScript::press(const QString& button)
{
    return then([button](QWidget* modal) { pressButton(modal, button); });
}

ModalScript& ModalScript::enter(const QString& text, const QString& button)
{
    return then([text, button](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>();
        if (!edit)
            qFatal("modal window without an entry field");
        edit->setText(text);
        pressButton(modal, button);
    });
}

ModalScript& ModalScript::close()
{
    return then([](QWidget* modal) { modal->close(); });
}

ModalScript& ModalScript::then(Step step)
{
    m_steps.push(std::move(step));
    return *this;
}

void ModalScript::poll()
{
    // The next poll is armed before a step runs, so that a step whose press opens another
    // modal window (and waits in its event loop) is answered too.
    const std::shared_ptr<bool> alive = m_alive;
    QTimer::singleShot(kPollMs, [this, alive] {
        if (!*alive)
            return;
        poll();
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && !m_answered.contains(modal))
            answer(modal);
    });
}

void ModalScript::answer(QWidget* modal)
{
    m_answered.append(modal);
    const bool expected = !m_steps.empty();
    m_seen.append({modal->objectName(), modal->windowTitle(), shownText(modal), expected});
    if (!expected) {
        modal->close();
        return;
    }
    const Step step = std::move(m_steps.front());
    m_steps.pop();
    const QPointer<QWidget> guarded = modal;
    step(modal);
    if (guarded && guarded->isVisible())
        guarded->close();
}

void pressButton(QWidget* window, const QString& name)
{
    const QList<QAbstractButton*> buttons = window->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        if (button->objectName() == name || button->text() == name) {
            button->click();
            return;
        }
    }
    qFatal("no button %s in %s", qPrintable(name), qPrintable(window->objectName()));
}

} // namespace card::test
