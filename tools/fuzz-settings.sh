#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the settings-file fuzz target with clang and runs it for a bounded time; any finding
# (crash, sanitizer report, broken property, hang) makes the script fail.
# Usage: tools/fuzz-settings.sh BUILD_DIR SECONDS
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 BUILD_DIR SECONDS" >&2
    exit 2
fi
build_dir=$1
seconds=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
fuzz_dir=$source_dir/tests/fuzz

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINGLAN_BUILD_FUZZ=ON -DTINGLAN_BUILD_UI=OFF \
    -DTINGLAN_BUILD_BENCH=OFF
cmake --build "$build_dir" --target settings_fuzz -j2

# Every write syncs the file to disk, so the target's files live in memory where /dev/shm
# allows. New inputs go to a scratch corpus; the committed seeds stay as they are.
work=$(mktemp -d /dev/shm/tinglan-fuzz.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"

TMPDIR=$work "$build_dir/tests/fuzz/settings_fuzz" \
    -max_total_time="$seconds" -timeout=10 -max_len=4096 -print_final_stats=1 \
    -dict="$fuzz_dir/settings.dict" -artifact_prefix="$build_dir/" \
    "$work/corpus" "$fuzz_dir/settings_corpus"
