// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces every answer about a character is made of, appended to an answer being built: the
// character, its code point, its strokes, as text and as JSON.
#pragma once

#include <string>
#include <string_view>

// Appends the UTF-8 bytes of `codePoint`, a Unicode scalar value.
void appendUtf8(char32_t codePoint, std::string& out);

// Appends the name of `codePoint` ("U+957F").
void appendCodePointName(char32_t codePoint, std::string& out);

// Appends the JSON members "character" and "codePoint" of `codePoint`, with no comma around them.
void appendJsonCharacter(char32_t codePoint, std::string& out);

// Appends the stroke count and the stroke order `order` (digits) as a person reads them,
// "4 (3154)", or "none" for an empty order.
void appendStrokes(std::string_view order, std::string& out);

// Appends the JSON member "strokes" for the stroke order `order` (digits): an object of "count"
// and "order", or null for an empty order.
void appendJsonStrokes(std::string_view order, std::string& out);
