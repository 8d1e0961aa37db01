#!/usr/bin/env bash
# fuzz.sh [seconds per target]: builds the libFuzzer targets with clang and runs each over its
# seed corpus (fuzz/corpus/<target>) for a bounded time. New inputs found go to
# build-fuzz/corpus/<target>; a crash, hang, leak or sanitizer report fails the run.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-15}
build="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCARD_FUZZ=ON -DCARD_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz_targets

# The sanitizer keeps the call stack of every allocation it sees. Its fast unwinder walks the
# frame pointers, which Qt and ICU (built without them) use as data, so a stack taken inside a
# decoder is garbage that differs from input to input, and the store of stacks grows without
# end: a 20-minute run ended at 1.3 GB although the heap stays at about 125 kB. Two frames
# (the allocating function and its caller) still name the place and keep the store bounded; an
# artifact can be run again with ASAN_OPTIONS=fast_unwind_on_malloc=0 for exact stacks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=2}

for target in "$build"/fuzz/fuzz_*; do
    [[ -x "$target" && -f "$target" ]] || continue
    name=$(basename "$target")
    work="$build/corpus/$name"
    mkdir -p "$work" "$build/artifacts/$name"
    echo "fuzz: $name for ${seconds}s"
    log="$build/artifacts/$name/last_run.log"
    status=0
    "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$name/" \
        "$work" "$root/fuzz/corpus/$name" >"$log" 2>&1 || status=$?
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|peak_rss_mb)' "$log" || true
    if [[ $status -ne 0 ]]; then
        grep -E '==[0-9]+==ERROR|SUMMARY|Test unit written' "$log" >&2 || true
        echo "fuzz: $name failed (status $status); see $log" >&2
        exit 1
    fi
done
