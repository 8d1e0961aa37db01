#!/usr/bin/env bash
# check_package.sh <build folder>: makes the .deb, unpacks it into a temporary root, checks what
# it installs and where, and starts the installed program.
set -euo pipefail

build=$1
root=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$root"' EXIT

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/card-image_*_*.deb | head -n 1)
dpkg-deb -x "$deb" "$root"

fail() { echo "package: $*" >&2; exit 1; }

for file in usr/bin/card_image \
            usr/share/applications/card_image.desktop \
            usr/share/icons/hicolor/16x16/apps/card_image.png \
            usr/share/icons/hicolor/32x32/apps/card_image.png; do
    [[ -f "$root/$file" ]] || fail "missing $file"
done
[[ -x "$root/usr/bin/card_image" ]] || fail "program not executable"

desktop="$root/usr/share/applications/card_image.desktop"
grep -qx 'Exec=card_image' "$desktop" || fail "desktop entry does not start card_image"
grep -qx 'Icon=card_image' "$desktop" || fail "desktop entry names another icon"
grep -qx 'Name\[zh_TW\]=刷卡影像資料查詢' "$desktop" || fail "no Traditional Chinese name"
grep -q '^Categories=.*;' "$desktop" || fail "no category"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 fonts-arphic-uming; do
    [[ $depends == *"$package"* ]] || fail "does not depend on $package: $depends"
done

# The installed program starts and keeps running (its parameter dialog waits for the operator).
cd "$root"
QT_QPA_PLATFORM=offscreen "$root/usr/bin/card_image" &
pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the installed program did not keep running"
echo "package: $(basename "$deb") ok"
