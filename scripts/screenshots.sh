#!/usr/bin/env bash
# Refreshes the README's screenshots in docs/: sets up what is missing, builds, and runs the
# end-to-end session, which photographs the dialog, a query with a photo, a finished playback,
# the photo inspection window and the live view; and pictures the first page of a card's history
# report, the second page of a listed day's report, the card history's hour picture of a name,
# the exceptions window over the sample site's month, the presence window on the sample site's
# morning, and the reference photo, the adjusted picture and two swipes compared.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" --tests
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=Release -DCARD_BUILD_TESTS=OFF
mkdir -p "$root/docs"
CARD_E2E_DOCS="$root/docs" bash "$root/tests/e2e/run_e2e.sh" "$root/build"
# The busiest card of the sample site (the guard on rounds), over the week the site holds.
site=$(mktemp -d)
trap 'rm -rf "$site"' EXIT
"$root/build/tools/sample_site/sample_site" "$site" >/dev/null
"$root/build/src/app/card_image" --report "$site/history.pdf" --card 00736696 --days 7 \
    "$site/site.spf"
pdftoppm -r 80 -png -singlefile -f 1 -l 1 "$site/history.pdf" "$root/docs/report_history"
# A continuation page of today's listed day, every card.
"$root/build/src/app/card_image" --report "$site/day.pdf" "$site/site.spf"
pdftoppm -r 80 -png -singlefile -f 2 -l 2 "$site/day.pdf" "$root/docs/report_continued"
# The hour picture and its legend for a name matching four cards, over the site's month.
"$root/build/tools/history_shot/history_shot" "$site/site.spf" "$(date +%F)" 30 怡 \
    "$root/docs/card_history_map.png"
# The exceptions of the site's month, on its first repeated in.
"$root/build/tools/exceptions_shot/exceptions_shot" "$site/site.spf" "$(date +%F)" 30 \
    "$root/docs/exceptions.png"
# A night shot brightened beside its card's reference photo, and the two swipes compared.
QT_QPA_PLATFORM=offscreen "$root/build/tools/reference_shot/reference_shot" "$site/site.spf" \
    "$(date +%F)" "$root/docs/photo_view_reference.png" "$root/docs/photo_view_compare.png"
# Who is inside the sample site this morning.
QT_QPA_PLATFORM=offscreen "$root/build/tools/presence_shot/presence_shot" "$site/site.spf" \
    "$(date +%F)T09:30:00" "$root/docs/presence.png"
ls -l "$root"/docs/*.png
