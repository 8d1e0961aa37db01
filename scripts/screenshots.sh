#!/usr/bin/env bash
# Refreshes the README's screenshots in docs/: sets up what is missing, builds, and runs the
# end-to-end session, which photographs the dialog, a query with a photo, a finished playback,
# the photo inspection window and the live view.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" --tests
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=Release -DCARD_BUILD_TESTS=OFF
mkdir -p "$root/docs"
CARD_E2E_DOCS="$root/docs" bash "$root/tests/e2e/run_e2e.sh" "$root/build"
ls -l "$root"/docs/*.png
