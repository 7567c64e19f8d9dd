// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the characters a search by first strokes finds, as they are found.
#pragma once

#include "cli/output.h"
#include "tables/strokes.h"

// Writes every character whose standard stroke order begins with `sequence`, the most common
// first, each on a line of its own: "character TAB order TAB reading TAB code", the order in
// digits, the principal reading with its tone mark and the shortest Wubi code, a field empty
// where the character has none; with `json`, a JSON object of "character", "codePoint",
// "strokes", "reading" and "code" (null where it has none). The first lines are written out at
// once to a reader that may be waiting for them; stops once `output` is no longer open.
void printStrokeMatches(const strokes::Sequence& sequence, bool json, StandardOutput& output);
