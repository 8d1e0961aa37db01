#include "ui/common/window_actions.h"

#include <QAction>
#include <QWidget>

namespace card {

QAction* addWindowAction(QWidget* where, const QString& text, const QKeySequence& keys,
                         Qt::ShortcutContext context, const std::function<void()>& what)
{
    return addWindowAction(where, text, QList<QKeySequence>{keys}, context, what);
}

QAction* addWindowAction(QWidget* where, const QString& text, const QList<QKeySequence>& keys,
                         Qt::ShortcutContext context, const std::function<void()>& what)
{
    auto* action = new QAction(text, where);
    action->setShortcuts(keys);
    action->setShortcutContext(context);
    QObject::connect(action, &QAction::triggered, where, what);
    where->addAction(action);
    return action;
}

QAction* addEscapeAction(QWidget* window, const std::function<void()>& what)
{
    return addWindowAction(window, {}, QKeySequence(Qt::Key_Escape), Qt::WindowShortcut, what);
}

QAction* addStopOrCloseAction(QWidget* window, const std::function<bool()>& searching,
                              const std::function<void()>& stop)
{
    return addEscapeAction(window, [window, searching, stop] {
        if (searching())
            stop();
        else
            window->close();
    });
}

} // namespace card
