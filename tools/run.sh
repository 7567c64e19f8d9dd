#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds tinglan and starts it.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$source_dir/tools/install-dependencies.sh"
cmake -S "$source_dir" -B "$source_dir/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$source_dir/build" -j"$(nproc)"
exec "$source_dir/build/ui/tinglan"
