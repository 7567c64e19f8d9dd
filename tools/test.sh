#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds tinglan and runs every test: the settings fuzzer, the non-UI suite under AddressSanitizer
# and UndefinedBehaviorSanitizer, then the whole suite (window tests on a headless display).
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$source_dir/tools/install-dependencies.sh"

# Root ignores file permissions, so the permission tests would prove nothing: run everything as
# an unprivileged user, on a copy of the sources in a scratch directory that user owns.
if [ "$(id -u)" -eq 0 ]; then
    test_user=tinglan-test
    id "$test_user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$test_user"
    scratch=$(mktemp -d /tmp/tinglan-test.XXXXXX)
    tar -C "$source_dir" --exclude='./build*' --exclude='./.git' -cf - . | tar -C "$scratch" -xf -
    chown -R "$test_user:" "$scratch"
    chmod 755 "$scratch"
    exec setpriv --reuid="$test_user" --regid="$test_user" --init-groups --reset-env \
        env HOME="$scratch" PATH="$PATH" TINGLAN_BUILD_ROOT="$scratch" ${CI:+CI="$CI"} \
        bash "$scratch/tools/test.sh"
fi

build_root=${TINGLAN_BUILD_ROOT:-$source_dir}
jobs=$(nproc)

echo "== settings fuzzer"
"$source_dir/tools/fuzz-settings.sh" "$build_root/build-fuzz" 60

echo "== non-UI tests under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$source_dir" -B "$build_root/build-sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DTINGLAN_BUILD_UI=OFF -DTINGLAN_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
cmake --build "$build_root/build-sanitize" -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$build_root/build-sanitize" --output-on-failure -j"$jobs"

echo "== all tests"
cmake -S "$source_dir" -B "$build_root/build-test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_root/build-test" -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_root/build-test" --output-on-failure -j"$jobs"
