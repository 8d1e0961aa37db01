#include "bench_support.h"

#include <cstdio>

namespace card::bench {

int runPhotoBenchmark() {
    std::puts("photo benchmark: not written yet");
    return 0;
}

} // namespace card::bench
