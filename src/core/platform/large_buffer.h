// Buffers for a large file's bytes, read in at once.
#pragma once

#include <QByteArray>

namespace card {

// size bytes, not yet filled. Where the system allows, backed by large pages: filling a large
// day then takes a few dozen page faults instead of one per 4 kB page, which on a virtual
// machine cost more than the copy itself.
QByteArray largeBuffer(qint64 size);

// Called once at the start of the program: memory freed by one day's read is kept for the next
// (up to a bound) instead of being handed back to the system and faulted in again page by page.
// Reading many days allocates and frees a few megabytes each, and on a virtual machine the page
// faults cost more than the reading.
void keepFreedMemoryForReuse();

} // namespace card
