#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the icon's source data/icons/tinglan.svg to the PNGs that are installed into the hicolor
# theme (16 to 256 pixels) and that the window embeds (32 pixels), as data/icons/tinglan-SIZE.png.
# Needs rsvg-convert (Debian package librsvg2-bin); run it after editing the SVG and commit all files.
set -euo pipefail

icon_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../data/icons" && pwd)
for size in 16 22 24 32 48 64 128 256; do
    png=$icon_dir/tinglan-$size.png
    rsvg-convert --width "$size" --height "$size" --format png "$icon_dir/tinglan.svg" --output "$png.new"
    # Strip the time stamp chunks, so that rendering the same SVG twice gives the same bytes.
    convert "$png.new" -strip "PNG32:$png"
    rm "$png.new"
done
