// Receiving a future's result on the interface thread.
#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>

#include <utility>

namespace card {

// Calls done(result) on owner's thread once future has a result. Nothing is called after owner
// is destroyed; the work itself runs on and its result is dropped.
template <typename T, typename Done> void whenReady(QObject* owner, QFuture<T> future, Done done)
{
    auto* watcher = new QFutureWatcher<T>(owner);
    QObject::connect(watcher, &QFutureWatcherBase::finished, owner,
                     [watcher, done = std::move(done)]() mutable {
                         watcher->deleteLater();
                         if (watcher->future().resultCount() > 0)
                             done(watcher->result());
                     });
    watcher->setFuture(std::move(future));
}

} // namespace card
