#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package that `cpack -G DEB` makes, without installing it: lintian, the control
# fields, the files it holds and their form (stripped programs and tables library with packed
# relocations, the library found beside the programs, icon sizes, the desktop entry, the
# AppStream metadata, the manual pages), then the window end to end, run from the unpacked tree by
# an unprivileged user and, when this runs as root, by root, whose two files must appear in the
# per-user directories and never beside the program.
# Usage: check_package.sh PACKAGE.deb
set -uo pipefail
export LC_ALL=C.UTF-8

if [[ $# -ne 1 ]]; then
    echo "usage: $0 PACKAGE.deb" >&2
    exit 2
fi
deb=$(realpath "$1")
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
app_id=example.tinglan.Tinglan
library=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/tinglan/libtinglan-tables.so
work=$(mktemp -d)
root=$work/root

cleanup() {
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

source "$source_dir/tests/e2e/check.sh"
# silent COMMAND...: the command succeeds and prints nothing; quiet_errors: nothing on stderr.
silent() { local output; output=$("$@" 2>&1) && [ -z "$output" ] || { printf '%s\n' "$output"; return 1; }; }
quiet_errors() { local errors; errors=$("$@" 2>&1 >/dev/null) && [ -z "$errors" ] || { printf '%s\n' "$errors"; return 1; }; }
field() { dpkg-deb --field "$deb" "$1"; }

# --- the package as a whole
# lintian returns to the directory it was started from, which this user may not enter.
check "lintian reports no error and no warning" \
    bash -c 'cd "$1" && lintian --fail-on error,warning "$2"' lintian "$work" "$deb"
check "the file is named PACKAGE_VERSION_ARCH.deb" \
    test "$(basename "$deb")" = "$(field Package)_$(field Version)_$(field Architecture).deb"
depends=$(field Depends)
check "it depends on a CJK font" grep -qF "fonts-noto-cjk | fonts-arphic-uming" <<<"$depends"
check "its library dependencies are computed (Qt Widgets among them)" grep -q "libqt6widgets6" <<<"$depends"
check "it recommends an input method frontend for Qt 6" test "$(field Recommends)" = "fcitx5-frontend-qt6 | ibus"

# --- the files
dpkg-deb -x "$deb" "$root"
expected="usr/bin/tinglan
usr/bin/tinglan-query
$library
usr/share/applications/$app_id.desktop
usr/share/doc/tinglan/changelog.gz
usr/share/doc/tinglan/copyright
$(for size in 16 22 24 32 48 64 128 256; do echo "usr/share/icons/hicolor/${size}x$size/apps/$app_id.png"; done)
usr/share/icons/hicolor/scalable/apps/$app_id.svg
usr/share/man/man1/tinglan-query.1.gz
usr/share/man/man1/tinglan.1.gz
usr/share/metainfo/$app_id.metainfo.xml"
actual=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
check "it holds exactly the programs, their tables library, the desktop files, the manual pages and the notes" \
    test "$actual" = "$(LC_ALL=C sort <<<"$expected")" || diff <(LC_ALL=C sort <<<"$expected") - <<<"$actual"
for file in usr/bin/tinglan usr/bin/tinglan-query "$library"; do
    check "$file is stripped" bash -c "! readelf -S '$root/$file' | grep -q '\.symtab'"
    check "$file has packed relative relocations" bash -c "readelf -d '$root/$file' | grep -q '(RELR)'"
done
check "the tables library is not executable" test "$(stat -c %a "$root/$library")" = 644
# relro_size FILE: the size in bytes of FILE's .data.rel.ro, which the loader writes at every start.
relro_size() {
    local hex
    hex=$(readelf -S -W "$1" | sed -n 's/.* \.data\.rel\.ro *PROGBITS *[0-9a-f]* [0-9a-f]* \([0-9a-f]*\) .*/\1/p')
    echo $((16#${hex:-0}))
}
# runpath FILE: FILE's RUNPATH, if it has one and no RPATH.
runpath() { readelf -d "$1" | grep -q '(RPATH)' || readelf -d "$1" | sed -n 's/.*Library runpath: \[\(.*\)\]$/\1/p'; }
libdir=${library%/*}
for program in tinglan tinglan-query; do
    check "$program finds the tables library through its RUNPATH, relative to itself" \
        test "$(runpath "$root/usr/bin/$program")" = "\$ORIGIN/../${libdir#usr/}"
    check "$program has less than 16 KiB of pointers to relocate" test "$(relro_size "$root/usr/bin/$program")" -lt 16384
done
check "the tables library has less than 16 KiB of pointers to relocate" test "$(relro_size "$root/$library")" -lt 16384
check "tinglan-query links no Qt library" bash -c "! readelf -d '$root/usr/bin/tinglan-query' | grep -q 'libQt'"
for size in 16 22 24 32 48 64 128 256; do
    check "the ${size}x$size icon is $size x $size pixels" \
        bash -c "file '$root/usr/share/icons/hicolor/${size}x$size/apps/$app_id.png' | grep -q ', $size x $size,'"
done
check "desktop-file-validate finds nothing, not even a hint" \
    silent desktop-file-validate "$root/usr/share/applications/$app_id.desktop"
check "the desktop entry starts tinglan with the application's icon" \
    bash -c "grep -qx 'Exec=tinglan' '$root/usr/share/applications/$app_id.desktop' &&
             grep -qx 'Icon=$app_id' '$root/usr/share/applications/$app_id.desktop'"
check "appstreamcli validates the metadata" \
    quiet_errors appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml"
for page in tinglan tinglan-query; do
    check "man renders $page(1) without a warning" \
        quiet_errors env MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/man1/$page.1.gz"
done
check "the copyright file is machine-readable" \
    grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
    "$root/usr/share/doc/tinglan/copyright"
check "tinglan-query answers from the unpacked tree" \
    test "$("$root/usr/bin/tinglan-query" 汉)" = $'汉\tic\than'

# --- the window from the unpacked tree, as a user who cannot write there
chmod -R a-w "$root"
if [ "$(id -u)" -eq 0 ]; then
    user=tinglan-test
    home=$work/home
    mkdir "$home"
    chown "$user:" "$home"
    chmod 755 "$work"
    run_e2e() {
        setpriv --reuid="$user" --regid="$user" --init-groups \
            env HOME="$home" TMPDIR="$home" PATH="$PATH" "$@"
    }
    # Root may write the root-owned unpacked tree, yet must leave nothing in it.
    mkdir "$work/root-home"
    env HOME="$work/root-home" bash "$source_dir/tests/e2e/window_e2e.sh" "$root/usr/bin/tinglan" \
        "$source_dir/tests/data" installed
    status=$?
    check "root's window works from the unpacked tree, its files in root's home alone" \
        test "$status" -eq 0
else
    run_e2e() { env HOME="$work" "$@"; }
fi
run_e2e bash "$source_dir/tests/e2e/window_e2e.sh" "$root/usr/bin/tinglan" "$source_dir/tests/data" installed
status=$?
check "the window works from the unpacked tree, its files in the per-user directories" \
    test "$status" -eq 0

if [ "$failures" -gt 0 ]; then
    echo "$failures package checks failed"
    exit 1
fi
