// Buffers for a large file's bytes, read in at once.
#pragma once

#include <QByteArray>

namespace card {

// size bytes, not yet filled. Where the system allows, backed by large pages: filling a large
// day then takes a few dozen page faults instead of one per 4 kB page, which on a virtual
// machine cost more than the copy itself.
QByteArray largeBuffer(qint64 size);

} // namespace card
