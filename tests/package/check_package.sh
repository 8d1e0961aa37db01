#!/usr/bin/env bash
# check_package.sh <build folder>: makes the .deb, unpacks it into a temporary root, checks what
# it installs and where, validates the desktop entry, the AppStream metadata and the package
# itself (lintian), and starts the installed program.
set -euo pipefail

build=$1
root=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$root"' EXIT

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/card-image_*_*.deb | head -n 1)
dpkg-deb -x "$deb" "$root"

fail() { echo "package: $*" >&2; exit 1; }

app_id=org.example.card_image
desktop="$root/usr/share/applications/$app_id.desktop"
metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"
manual="$root/usr/share/man/man1/card_image.1.gz"
doc="$root/usr/share/doc/card-image"
for file in usr/bin/card_image \
            "${desktop#"$root/"}" \
            "${metainfo#"$root/"}" \
            "${manual#"$root/"}" \
            usr/share/mime/packages/card_image-mime.xml \
            usr/share/doc/card-image/copyright \
            usr/share/doc/card-image/changelog.gz \
            usr/share/icons/hicolor/16x16/apps/card_image.png \
            usr/share/icons/hicolor/32x32/apps/card_image.png; do
    [[ -f "$root/$file" ]] || fail "missing $file"
done
[[ -x "$root/usr/bin/card_image" ]] || fail "program not executable"

grep -qx 'Exec=card_image %f' "$desktop" || fail "desktop entry does not start card_image %f"
grep -qx 'Icon=card_image' "$desktop" || fail "desktop entry names another icon"
grep -qx 'Name\[zh_TW\]=刷卡影像資料查詢' "$desktop" || fail "no Traditional Chinese name"
grep -q '^Categories=.*;' "$desktop" || fail "no category"
grep -qx 'MimeType=application/x-card-image-parameters;' "$desktop" ||
    fail "desktop entry does not open parameter files"
grep -q 'glob pattern="\*.spf"' "$root/usr/share/mime/packages/card_image-mime.xml" ||
    fail "the parameter file type does not match *.spf"
desktop-file-validate "$desktop" || fail "desktop-file-validate failed"

appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate failed"
version=$(dpkg-deb -f "$deb" Version)
grep -q "<release version=\"$version\"" "$metainfo" || fail "AppStream release is not $version"

# The manual page: gzipped without name or time stamp, and it reads as a manual page.
gzip -t "$manual" || fail "manual page is not gzip"
man_text=$(zcat "$manual")
for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES 'EXIT STATUS' EXAMPLES; do
    grep -q "^\.SH \"\?$section\"\?\$" <<<"$man_text" || fail "manual page has no $section"
done
grep -qF -- '\-\-date' <<<"$man_text" || fail "manual page does not name --date"
grep -q "card_image $version" <<<"$man_text" || fail "manual page is not of version $version"

grep -qx 'License: Apache-2.0' "$doc/copyright" || fail "copyright does not say Apache-2.0"
grep -q '/usr/share/common-licenses/Apache-2.0' "$doc/copyright" ||
    fail "copyright does not refer to the common licence text"
zcat "$doc/changelog.gz" | head -n 1 | grep -q "^card-image ($version)" ||
    fail "changelog does not start with version $version"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 fonts-arphic-uming; do
    [[ $depends == *"$package"* ]] || fail "does not depend on $package: $depends"
done

# lintian: errors and warnings fail the test (a warning that has to stay gets an override with
# its reason in usr/share/lintian/overrides/card-image; none has so far).
lintian_out=$(lintian --tag-display-limit 0 "$deb" 2>&1) || true
[[ -z $lintian_out ]] || echo "$lintian_out"
! grep -q '^E: ' <<<"$lintian_out" || fail "lintian reports errors"
! grep -q '^W: ' <<<"$lintian_out" || fail "lintian reports warnings"

# The installed program starts and keeps running (its parameter dialog waits for the operator).
cd "$root"
QT_QPA_PLATFORM=offscreen "$root/usr/bin/card_image" &
pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the installed program did not keep running"
# A malformed command line ends at once with status 2.
status=0
QT_QPA_PLATFORM=offscreen "$root/usr/bin/card_image" --direction sideways site.spf 2>/dev/null ||
    status=$?
((status == 2)) || fail "a malformed command line ended with status $status"
echo "package: $(basename "$deb") ok"
