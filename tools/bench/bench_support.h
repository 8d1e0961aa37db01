// Small measuring helpers shared by the benchmarks.
#pragma once

#include <QString>

namespace card {
class CardImageWindow;
}

namespace card::bench {

// Peak resident memory of this process so far, in bytes (VmHWM).
qint64 peakResidentBytes();
// Current resident memory of this process, in bytes (VmRSS).
qint64 residentBytes();

double megabytes(qint64 bytes);

// Runs the event loop until the window has shown every result of its work off the interface
// thread (a query, a load, a photo).
void waitForWindowWork(const CardImageWindow& window);

} // namespace card::bench
