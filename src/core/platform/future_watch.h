// Receiving a future's result on the interface thread.
#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>

#include <utility>

namespace card {

// Calls shown(done, total) on owner's thread as future's progress moves and done(result) once
// it has a result. Nothing is called after owner is destroyed; the work itself runs on and its
// result is dropped.
template <typename T, typename Shown, typename Done>
void whenReady(QObject* owner, QFuture<T> future, Shown shown, Done done)
{
    auto* watcher = new QFutureWatcher<T>(owner);
    QObject::connect(watcher, &QFutureWatcherBase::progressValueChanged, owner,
                     [watcher, shown = std::move(shown)](int value) mutable {
                         shown(value, watcher->progressMaximum());
                     });
    QObject::connect(watcher, &QFutureWatcherBase::finished, owner,
                     [watcher, done = std::move(done)]() mutable {
                         watcher->deleteLater();
                         if (watcher->future().resultCount() > 0)
                             done(watcher->result());
                     });
    watcher->setFuture(std::move(future));
}

// The same with no progress shown.
template <typename T, typename Done> void whenReady(QObject* owner, QFuture<T> future, Done done)
{
    whenReady(
        owner, std::move(future), [](int, int) {}, std::move(done));
}

} // namespace card
