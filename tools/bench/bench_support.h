// Small measuring helpers shared by the benchmarks.
#pragma once

#include <QString>

namespace card::bench {

// Peak resident memory of this process so far, in bytes (VmHWM).
qint64 peakResidentBytes();
// Current resident memory of this process, in bytes (VmRSS).
qint64 residentBytes();

double megabytes(qint64 bytes);

} // namespace card::bench
