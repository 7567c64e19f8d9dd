#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds tinglan and runs every test: the settings fuzzer, the non-UI suite under AddressSanitizer
# and UndefinedBehaviorSanitizer, the whole suite (window tests on a headless display), and last
# the Debian package, built and checked without installing it.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$source_dir/tools/install-dependencies.sh" test

# Root ignores file permissions, so the permission tests would prove nothing: run everything as
# an unprivileged user, on a copy of the sources in a scratch directory that user owns. Only the
# tests that need root itself run as root afterwards, on what that run built.
if [ "$(id -u)" -eq 0 ]; then
    test_user=tinglan-test
    # tinglan-other plants links where tinglan-test's files should be, in the tests run as root.
    for user in "$test_user" tinglan-other; do
        id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
    done
    scratch=$(mktemp -d /tmp/tinglan-test.XXXXXX)
    trap 'rm -rf "$scratch"' EXIT
    tar -C "$source_dir" --exclude='./build*' --exclude='./.git' -cf - . | tar -C "$scratch" -xf -
    chown -R "$test_user:" "$scratch"
    chmod 755 "$scratch"
    status=0
    # Started from a directory that user may not enter, some tools (lintian) fail.
    cd "$scratch"
    setpriv --reuid="$test_user" --regid="$test_user" --init-groups --reset-env \
        env HOME="$scratch" PATH="$PATH" TINGLAN_BUILD_ROOT="$scratch" ${CI:+CI="$CI"} \
        TINGLAN_PACKAGE_CHECKED_BY_ROOT=1 bash "$scratch/tools/test.sh" || status=$?
    if [ -d "$scratch/build-test" ]; then
        echo "== the tests of other users' files, as root"
        ctest --test-dir "$scratch/build-test" -R AsRoot --output-on-failure || status=$?
    fi
    # As root the package check also starts the window from the unpacked package as root.
    deb=$(ls "$scratch"/build-test/tinglan_*.deb 2>/dev/null || true)
    if [ -n "$deb" ]; then
        echo "== the Debian package, checked as root"
        "$scratch/tests/package/check_package.sh" "$deb" || status=$?
    fi
    exit "$status"
fi

build_root=${TINGLAN_BUILD_ROOT:-$source_dir}
jobs=$(nproc)

echo "== settings fuzzer"
# libFuzzer's progress lines and its recommended dictionary are left out; its findings, final
# figures and status stay.
"$source_dir/tools/fuzz-settings.sh" "$build_root/build-fuzz" 60 2>&1 |
    awk '/^###### Recommended dictionary/ { skip = 1 }
         !skip && !/^#[0-9]+[ \t]/ { print }
         /^###### End of recommended dictionary/ { skip = 0 }'

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

echo "== the Debian package"
rm -f "$build_root/build-test"/tinglan_*.deb
(cd "$build_root/build-test" && cpack -G DEB >cpack.log 2>&1) || { cat "$build_root/build-test/cpack.log"; exit 1; }
if [ -z "${TINGLAN_PACKAGE_CHECKED_BY_ROOT:-}" ]; then
    "$source_dir/tests/package/check_package.sh" "$build_root/build-test"/tinglan_*.deb
fi
