#!/usr/bin/env bash
# setup.sh [--tests]: installs the Debian 12 packages the build, the sample site and a run on a
# virtual screen need, and with --tests those the tests need too (the window manager, xdotool,
# the accessibility bus, strace, clang for the fuzz targets, clang-format for the format check,
# poppler-utils to read the reports' PDF files, PostgreSQL for the case store's team engine);
# only the missing ones, so a second run takes a moment.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libarchive-dev
    libqt6sql6-sqlite libqt6sql6-psql
    qt6-translations-l10n
    fonts-arphic-uming
    xvfb xauth
)
test_packages=(
    dbus at-spi2-core python3-pyatspi xdotool jwm x11-utils
    desktop-file-utils appstream lintian
    strace
    clang clang-format
    poppler-utils
    unzip
    postgresql
)
if [[ ${1:-} == --tests ]]; then
    packages+=("${test_packages[@]}")
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "setup: installing ${missing[*]}"
    sudo_cmd=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo_cmd=(sudo)
    fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
