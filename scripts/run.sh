#!/usr/bin/env bash
# Sets up what is missing, builds, writes the sample site and opens the viewer on it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
# Only what the run needs: the program and the sample-site writer, no tests.
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCARD_BUILD_TESTS=OFF \
    >/dev/null
cmake --build "$root/build" --target card_image sample_site
"$root/build/tools/sample_site/sample_site" "$root/site"

# The viewer starts on its working folder, where the dialog lists the site's parameter file.
cd "$root/site"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "run: no display found; starting the viewer on a virtual screen (xvfb-run)"
    exec xvfb-run -a "$root/build/src/app/card_image"
fi
exec "$root/build/src/app/card_image"
