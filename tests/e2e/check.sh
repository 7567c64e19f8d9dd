# SPDX-License-Identifier: GPL-3.0-or-later
# The shell tests' one assertion, sourced by them: `check DESCRIPTION COMMAND...` runs COMMAND,
# prints "ok" or "FAIL" with DESCRIPTION, and counts the failures in $failures.
failures=0

check() {
    local description=$1
    shift
    if "$@"; then
        echo "ok   $description"
    else
        echo "FAIL $description"
        failures=$((failures + 1))
        return 1
    fi
}
