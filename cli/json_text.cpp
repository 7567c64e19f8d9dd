// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/json_text.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>

namespace {

struct ShortEscape {
    unsigned char byte;
    std::string_view escape;
};

constexpr ShortEscape kShortEscapes[] = {
    {'"', "\\\""}, {'\\', "\\\\"}, {'\b', "\\b"}, {'\f', "\\f"},
    {'\n', "\\n"}, {'\r', "\\r"},  {'\t', "\\t"},
};

}  // namespace

void appendJsonString(std::string_view text, std::string& out) {
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        const auto third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0u;
        std::optional<unsigned> escaped;  // the code point to write as \uXXXX
        if (const auto it = std::ranges::find(kShortEscapes, byte, &ShortEscape::byte);
            it != std::end(kShortEscapes)) {
            out += it->escape;
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) {
            escaped = byte;
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            escaped = next;
            i += 1;
        } else if (byte == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9)) {
            escaped = 0x2000 | (third & 0x3F);
            i += 2;
        }
        if (!escaped) {
            out += static_cast<char>(byte);
            continue;
        }
        char unit[8];
        std::snprintf(unit, sizeof unit, "\\u%04x", *escaped);
        out += unit;
    }
    out += '"';
}
