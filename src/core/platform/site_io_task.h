// Running one piece of site file work on siteIoPool() and coming back with its result.
#pragma once

#include "core/platform/future_watch.h"
#include "core/platform/site_io_pool.h"

#include <QFuture>
#include <QPromise>

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace card {

// Runs work() on siteIoPool(); its result arrives through the returned future. work must own
// everything it uses.
template <typename Work> auto runOnSiteIo(Work work) -> QFuture<std::invoke_result_t<Work>>
{
    using Result = std::invoke_result_t<Work>;
    // The pool takes a copyable function, a promise cannot be copied.
    auto promise = std::make_shared<QPromise<Result>>();
    QFuture<Result> future = promise->future();
    promise->start();
    siteIoPool().start([promise, work = std::move(work)]() mutable {
        promise->addResult(work());
        promise->finish();
    });
    return future;
}

// Runs work() on siteIoPool() and calls done(result) on owner's thread when it is back; nothing
// is called after owner is destroyed.
template <typename Work, typename Done> void runOnSiteIo(QObject* owner, Work work, Done done)
{
    whenReady(owner, runOnSiteIo(std::move(work)), std::move(done));
}

// What work on the site pool says of its progress: done of total steps.
using SiteIoProgress = std::function<void(int done, int total)>;

// The same for work(progress) that says how far it is: each progress(done, total) reaches
// shown(done, total) on owner's thread.
template <typename Work, typename Shown, typename Done>
void runOnSiteIo(QObject* owner, Work work, Shown shown, Done done)
{
    using Result = std::invoke_result_t<Work, const SiteIoProgress&>;
    auto promise = std::make_shared<QPromise<Result>>();
    whenReady(owner, promise->future(), std::move(shown), std::move(done));
    promise->start();
    siteIoPool().start([promise, work = std::move(work)]() mutable {
        const SiteIoProgress progress = [&promise](int done, int total) {
            promise->setProgressRange(0, total);
            promise->setProgressValue(done);
        };
        promise->addResult(work(progress));
        promise->finish();
    });
}

} // namespace card
