#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that tinglan needs, if any is missing.
# Usage: tools/install-dependencies.sh [run|test]
#   run   (default) what building and running the two programs needs;
#   test  that, plus everything the test command uses.
set -euo pipefail

run_packages=(
    build-essential cmake ninja-build                 # toolchain and generator
    qt6-base-dev libgl-dev                            # Qt 6 Core and Widgets
    fonts-noto-cjk                                    # a CJK font for the window
)
test_packages=(
    git python3                                       # the scripts
    libgtest-dev libgmock-dev libbenchmark-dev time   # tests and benchmarks
    clang libclang-rt-14-dev                          # the libFuzzer build
    rime-data-wubi rime-data-stroke unicode-data      # table sources, for the up-to-date check
    rime-data-terra-pinyin rime-data-luna-pinyin rime-data-pinyin-simp  # reading weights, too
    fonts-arphic-uming                                # the Song face the window asks for
    xvfb xauth x11-utils x11-xserver-utils xdotool openbox  # headless X, X tools, window manager
    imagemagick                                       # screenshots for the README
    util-linux passwd                                 # setpriv, useradd
    dpkg-dev file lintian                             # building and checking the Debian package
    desktop-file-utils appstream man-db               # checking the desktop files and manual pages
)

case ${1:-run} in
    run) packages=("${run_packages[@]}") ;;
    test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
    *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
elif command -v sudo >/dev/null; then
    sudo apt-get update -qq
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
    echo "tinglan: please install these Debian packages as root: ${missing[*]}" >&2
    exit 1
fi
