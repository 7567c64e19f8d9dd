// SPDX-License-Identifier: GPL-3.0-or-later
// JSON strings as the tool writes them. The tool writes only flat objects of known keys in a
// fixed order, so the one thing a JSON library would add, escaping, is written here instead of
// bringing in a library for it.
#pragma once

#include <string>
#include <string_view>

// Appends `text`, valid UTF-8, as a JSON string. Besides what JSON requires, DEL, the C1
// controls and the two Unicode line separators are escaped too, so that no reader of the line
// sees a control character or a line break in it.
void appendJsonString(std::string_view text, std::string& out);

// Appends `text`, Unicode scalar values, as a JSON string, escaped as above.
void appendJsonString(std::u32string_view text, std::string& out);
