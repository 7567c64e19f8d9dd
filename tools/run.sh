#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the two programs, tinglan and tinglan-query, in build/ and starts the window.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=$source_dir/build
"$source_dir/tools/install-dependencies.sh" run

if [ -f "$build_dir/CMakeCache.txt" ]; then
    # A build folder keeps the generator and the options it was made with: CMake refuses to
    # switch generators in place.
    generator=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$build_dir/CMakeCache.txt")
    cmake -S "$source_dir" -B "$build_dir" -G "$generator" >/dev/null
else
    # Neither the tests nor the benchmarks: building the programs needs no test toolchain.
    cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTINGLAN_BUILD_TESTS=OFF -DTINGLAN_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build_dir" --target tinglan tinglan-query -j"$(nproc)"

program_dir=$build_dir/ui
if [ -w "$program_dir" ]; then
    echo "tinglan keeps SetValve.ini and 历史记录.txt beside the program, in $program_dir/"
else
    echo "tinglan keeps SetValve.ini in ${XDG_CONFIG_HOME:-$HOME/.config}/tinglan/" \
        "and 历史记录.txt in ${XDG_DATA_HOME:-$HOME/.local/share}/tinglan/"
fi
echo "tinglan-query: $build_dir/cli/tinglan-query"
exec "$program_dir/tinglan"
