#include "bench_support.h"

#include <cstdio>

namespace card::bench {

int runRecordBenchmark(qint64 /*recordCount*/) {
    std::puts("record benchmark: not written yet");
    return 0;
}

} // namespace card::bench
