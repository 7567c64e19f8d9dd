// SPDX-License-Identifier: GPL-3.0-or-later
// Characters written as the tool's UTF-8 output: a code point's bytes or its name, and the
// tables' texts.
#pragma once

#include <string_view>

// Returns whether `codePoint` is a control character (U+0000..U+001F, U+007F..U+009F), which
// the tool shows by its name so that an answer keeps its lines and fields.
constexpr bool isControl(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

// Writes the UTF-8 bytes of `codePoint` (a Unicode scalar value) at `out`; returns their end.
inline char* putUtf8(char32_t codePoint, char* out) {
    if (codePoint < 0x80) {
        *out++ = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        *out++ = static_cast<char>(0xC0 | codePoint >> 6);
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        *out++ = static_cast<char>(0xE0 | codePoint >> 12);
        *out++ = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | codePoint >> 18);
        *out++ = static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

// Writes the name of `codePoint`, "U+" and at least four upper-case hex digits ("U+0009",
// "U+20D84"), at `out`; returns its end.
inline char* putCodePointName(char32_t codePoint, char* out) {
    *out++ = 'U';
    *out++ = '+';
    int digits = 4;
    while (digits < 8 && codePoint >> (4 * digits) != 0) ++digits;
    for (int i = digits - 1; i >= 0; --i) *out++ = "0123456789ABCDEF"[codePoint >> (4 * i) & 0xF];
    return out;
}

// Writes `text`, one of the tables' codes or syllables (ASCII letters), at `out`; returns its
// end.
inline char* putAscii(std::u16string_view text, char* out) {
    for (const char16_t letter : text) *out++ = static_cast<char>(letter);
    return out;
}

// Writes `text` at `out` as a line shows it: UTF-8, each control character by its name, so that
// it keeps the line and its fields; returns its end. Takes at most 6 bytes per code point.
inline char* putShownText(std::u32string_view text, char* out) {
    for (const char32_t codePoint : text) {
        out = isControl(codePoint) ? putCodePointName(codePoint, out) : putUtf8(codePoint, out);
    }
    return out;
}
