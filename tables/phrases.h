// SPDX-License-Identifier: GPL-3.0-or-later
// The Wubi 86 codes of words of two or more hanzi, and everything a code types.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tables/details.h"

namespace phrases {

// Whether the source lists a word's code, or the standard rule gives it.
enum class CodeOrigin : std::uint8_t { Listed, Derived };

struct WordCode {
    std::string code;        // four letters a..y
    std::uint32_t position;  // the candidate position at which the code offers the word, 1 = first
    CodeOrigin origin;
    bool operator==(const WordCode&) const = default;
};

// Returns the codes the source lists for `word`, in offer order; for a word it does not list,
// the one code the standard rule builds from the characters' full codes (two characters
// AaAbBaBb, three AaBaCaCb, four or more AaBaCaZa), at the position after everything listed
// under that code. For a single character, its own codes, shortest first, all listed. Empty
// when `word` is empty or has a character that has no code.
std::vector<WordCode> codesOfWord(std::u32string_view word);

// One thing a code types: a character, or a phrase of two or more.
struct Offer {
    std::u32string text;
    details::CodeLevel level;  // the level at which the code types it; Full for a phrase
    bool operator==(const Offer&) const = default;
};

// Returns the characters and phrases `code` types, in the order an input method offers them
// (most frequent first); empty if `code` is not 1 to 4 letters a..y or types nothing.
std::vector<Offer> offersOfCode(std::string_view code);

// Returns the candidate position at which `code`, one of a character's codes, offers that
// character among everything it types, phrases included (1 = first).
std::uint32_t characterPosition(const details::CodeAtLevel& code);

// Returns the full code words are built from: the first of the character's full codes.
std::string_view principalFullCode(const details::CharacterDetails& character);

}  // namespace phrases
