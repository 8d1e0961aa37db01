// Running one piece of site file work on siteIoPool() and getting its result as a future.
#pragma once

#include "core/platform/site_io_pool.h"

#include <QFuture>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <type_traits>
#include <utility>

namespace card {

// Runs work() on siteIoPool(); its result arrives through the returned future (watch it with a
// QFutureWatcher on the interface thread). work must own everything it uses.
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

} // namespace card
