// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/json_text.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>

#include "cli/utf8_text.h"

namespace {

struct ShortEscape {
    unsigned char byte;
    std::string_view escape;
};

constexpr ShortEscape kShortEscapes[] = {
    {'"', "\\\""}, {'\\', "\\\\"}, {'\b', "\\b"}, {'\f', "\\f"},
    {'\n', "\\n"}, {'\r', "\\r"},  {'\t', "\\t"},
};

// Returns whether `byte` may start something to escape: a quote, a backslash, a C0 control or
// DEL, or the lead byte of a C1 control (C2) or of a line separator (E2).
constexpr bool mayStartEscape(unsigned char byte) {
    return byte < 0x20 || byte == '"' || byte == '\\' || byte == 0x7F || byte == 0xC2 ||
           byte == 0xE2;
}

}  // namespace

void appendJsonString(std::string_view text, std::string& out) {
    out += '"';
    std::size_t unwritten = 0;  // the first byte not yet appended
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!mayStartEscape(byte)) continue;
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        const auto third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0u;
        std::string_view shortEscape;
        std::optional<unsigned> escaped;  // the code point to write as \uXXXX
        std::size_t length = 1;           // of the escaped sequence
        if (const auto it = std::ranges::find(kShortEscapes, byte, &ShortEscape::byte);
            it != std::end(kShortEscapes)) {
            shortEscape = it->escape;
        } else if (byte < 0x20 || byte == 0x7F) {
            escaped = byte;
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            escaped = next;
            length = 2;
        } else if (byte == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9)) {
            escaped = 0x2000 | (third & 0x3F);
            length = 3;
        } else {
            continue;
        }
        out.append(text.substr(unwritten, i - unwritten));
        if (escaped) {
            char unit[8];
            std::snprintf(unit, sizeof unit, "\\u%04x", *escaped);
            out += unit;
        } else {
            out += shortEscape;
        }
        i += length - 1;
        unwritten = i + 1;
    }
    out.append(text.substr(unwritten));
    out += '"';
}

void appendJsonString(std::u32string_view text, std::string& out) {
    std::string utf8(4 * text.size(), '\0');
    char* const start = utf8.data();
    char* end = start;
    for (const char32_t codePoint : text) end = putUtf8(codePoint, end);
    appendJsonString(std::string_view(start, end - start), out);
}
