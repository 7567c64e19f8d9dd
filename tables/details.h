// SPDX-License-Identifier: GPL-3.0-or-later
// Every Wubi 86 code and every Mandarin reading of a character, and the characters of a code.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace details {

// What a code is to a character: a one-, two- or three-letter simple code (typing it offers the
// character first), the full code, or a two- or three-letter code that is cut short like a
// simple code but offers another character first, so it counts only by its length.
enum class CodeLevel : std::uint8_t { Simple1 = 1, Simple2, Simple3, Full, Code2, Code3 };

struct CodeAtLevel {
    std::string_view code;  // 1 to 4 letters a..y, in static storage
    CodeLevel level;
    // Where the character stands among the characters the code types, 1 first, in the order
    // charactersWithCode gives; 1 for every simple code.
    std::uint8_t candidate;
    bool operator==(const CodeAtLevel&) const = default;
};

struct CharacterDetails {
    // Shortest first (Simple1; Simple2 or Code2; Simple3 or Code3; Full); a character lacks some.
    std::vector<CodeAtLevel> codes;
    // The modern readings, UTF-8 with tone marks, in static storage: the one the character is
    // filed by first (its principal reading, where the tables do not prescribe another), then
    // the others, the most common first. Empty when no modern source gives a reading.
    std::vector<std::string_view> readings;
    // The readings only the historical dictionaries give, for a character without modern
    // readings (then shown apart, marked as historical); empty for every other character.
    std::vector<std::string_view> historicalReadings;
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
