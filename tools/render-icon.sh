#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the committed window icon ui/icon/tinglan.svg to the 32 x 32 PNG that the build embeds.
# Needs rsvg-convert (Debian package librsvg2-bin); run it after editing the SVG and commit both.
set -euo pipefail

icon_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../ui/icon" && pwd)
rsvg-convert --width 32 --height 32 --format png "$icon_dir/tinglan.svg" --output "$icon_dir/tinglan.png.new"
# Strip the time stamp chunks, so that rendering the same SVG twice gives the same bytes.
convert "$icon_dir/tinglan.png.new" -strip "PNG32:$icon_dir/tinglan.png"
rm "$icon_dir/tinglan.png.new"
