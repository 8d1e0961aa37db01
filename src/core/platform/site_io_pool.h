// Threads for work on a site's files, which may lie on a share that stops answering.
#pragma once

class QThreadPool;

namespace card {

// A pool of its own, never waited for: at exit a read blocked on a dead share is abandoned with
// its thread instead of holding the program open (the global pool is waited for by
// QCoreApplication's destructor).
QThreadPool& siteIoPool();

} // namespace card
