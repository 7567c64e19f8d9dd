// SPDX-License-Identifier: GPL-3.0-or-later
// Every Wubi 86 code and every Mandarin reading of a character, and the characters of a code.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace details {

// How far a code is cut short: one-, two- and three-letter simple codes, or the full code.
enum class CodeLevel : std::uint8_t { Simple1 = 1, Simple2, Simple3, Full };

struct CodeAtLevel {
    std::string_view code;  // 1 to 4 letters a..y, in static storage
    CodeLevel level;
    bool operator==(const CodeAtLevel&) const = default;
};

struct CharacterDetails {
    // By level, Simple1 first; a character lacks some levels.
    std::vector<CodeAtLevel> codes;
    // UTF-8 with tone marks, in static storage, the one the character is filed by first; empty
    // when Unihan gives the character no Mandarin reading.
    std::vector<std::string_view> readings;
};

struct CharacterAtLevel {
    char32_t character;
    CodeLevel level;  // the level at which the code types the character
    bool operator==(const CharacterAtLevel&) const = default;
};

// Returns the codes and readings of `codePoint`, or nullopt if the Wubi source gives it no code.
std::optional<CharacterDetails> lookup(char32_t codePoint);

// Returns the characters that `code` types at any level, in the order an input method offers
// them (most frequent first); empty if `code` is not 1 to 4 letters a..y or types nothing.
std::vector<CharacterAtLevel> charactersWithCode(std::string_view code);

}  // namespace details
