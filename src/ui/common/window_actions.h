// The actions of every window: a menu entry or a key (or both) and what it does, and where its
// keys work.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

class QAction;
class QWidget;

namespace card {

// Adds to where an action named text (empty for keys only) with keys, which work in context
// (the window, a view with what is inside it, or a view with the focus), and runs what. The
// action belongs to where, so a view's actions are its context menu's entries.
QAction* addWindowAction(QWidget* where, const QString& text, const QKeySequence& keys,
                         Qt::ShortcutContext context, const std::function<void()>& what);
// The same with several keys for one action (+ and =, 0 and F).
QAction* addWindowAction(QWidget* where, const QString& text, const QList<QKeySequence>& keys,
                         Qt::ShortcutContext context, const std::function<void()>& what);

// Esc anywhere in window runs what: closing it, or first stopping what it is doing.
QAction* addEscapeAction(QWidget* window, const std::function<void()>& what);
// Esc stops a search on its way (while searching says so), and closes window when none is.
QAction* addStopOrCloseAction(QWidget* window, const std::function<bool()>& searching,
                              const std::function<void()>& stop);

} // namespace card
