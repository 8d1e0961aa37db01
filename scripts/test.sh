#!/usr/bin/env bash
# Sets up what is missing, builds with warnings as errors and runs every test.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCARD_WERROR=ON
ctest --test-dir "$root/build-test" --output-on-failure --parallel 2
