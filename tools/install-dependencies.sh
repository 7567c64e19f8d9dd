#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building, running and testing tinglan need, if any is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build git python3     # toolchain and generator
    qt6-base-dev libgl-dev                            # Qt 6 Core, Widgets, Test
    libgtest-dev libgmock-dev libbenchmark-dev hyperfine  # tests and benchmarks
    clang libclang-rt-14-dev                          # the libFuzzer build
    rime-data-wubi unicode-data                       # table sources, for the up-to-date check
    fonts-noto-cjk fonts-arphic-uming                 # Song and sans CJK fonts for the window
    xvfb xauth x11-utils x11-xserver-utils xdotool openbox  # headless X, X tools, window manager
    imagemagick                                       # screenshots for the README
    util-linux passwd                                 # setpriv, useradd
)

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
