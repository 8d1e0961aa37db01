#!/usr/bin/env bash
# Sets up what is missing, then: checks the formatting; builds with warnings as errors and runs every test; builds again
# with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test there; and, when clang
# is installed, runs each fuzz target for a short while.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" --tests

echo "== format"
# Every source file as .clang-format writes it, so no change carries unrelated reformatting.
git -C "$root" ls-files -z '*.cpp' '*.h' | (cd "$root" && xargs -0 clang-format --dry-run -Werror)

echo "== tests"
"$root/scripts/build.sh" "$root/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCARD_WERROR=ON
ctest --test-dir "$root/build-test" --output-on-failure --parallel 2

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DCARD_WERROR=ON \
    -DCARD_SANITIZE=ON -DCARD_BUILD_TOOLS=OFF
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0" \
    ctest --test-dir "$root/build-asan" --output-on-failure --parallel 2

if command -v clang++ >/dev/null; then
    echo "== fuzz smoke"
    "$root/scripts/fuzz.sh" 15
else
    echo "== fuzz smoke skipped: clang++ not installed"
fi
