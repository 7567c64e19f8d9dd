// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/phrases.h"

#include <algorithm>

#include "tables/phrase_index.h"

namespace phrases {
namespace {

// The entries whose text is `word`, by candidate position; empty if it is no listed phrase.
index::Range listedEntries(std::u32string_view word) {
    index::Range range = index::all();
    for (std::size_t depth = 0; depth < word.size() && !range.empty(); ++depth) {
        // Phrases hold BMP hanzi only, so a wider code point ends the search.
        range = word[depth] <= 0xFFFF ? index::narrow(range, depth, char16_t(word[depth]))
                                      : index::Range{};
    }
    // The word itself sorts before its extensions.
    std::uint32_t last = range.first;
    while (last < range.last && index::text(last).size() == word.size()) ++last;
    return {range.first, last};
}

// The code the standard rule gives `word`, or "" when a character has no code.
std::string derivedCode(std::u32string_view word) {
    std::vector<std::string_view> full;
    for (char32_t character : word) {
        const auto found = details::lookup(character);
        if (!found || principalFullCode(*found).empty()) return {};
        full.push_back(principalFullCode(*found));
    }
    if (full.size() == 2) {
        return std::string(full[0].substr(0, 2)) += full[1].substr(0, 2);
    }
    if (full.size() == 3) {
        return std::string{full[0][0], full[1][0]} += full[2].substr(0, 2);
    }
    return {full[0][0], full[1][0], full[2][0], full.back()[0]};
}

}  // namespace

std::vector<WordCode> codesOfWord(std::u32string_view word) {
    if (word.empty()) return {};
    std::vector<WordCode> codes;
    if (word.size() == 1) {
        const auto found = details::lookup(word[0]);
        if (!found) return {};
        for (const details::CodeAtLevel& code : found->codes) {
            codes.push_back({std::string(code.code), characterPosition(code), CodeOrigin::Listed});
        }
        return codes;
    }
    const index::Range listed = listedEntries(word);
    for (std::uint32_t entry = listed.first; entry < listed.last; ++entry) {
        codes.push_back(
            {std::string(index::code(entry)), index::position(entry), CodeOrigin::Listed});
    }
    if (!codes.empty()) return codes;
    std::string code = derivedCode(word);
    if (code.empty()) return {};
    const auto position = static_cast<std::uint32_t>(offersOfCode(code).size() + 1);
    codes.push_back({std::move(code), position, CodeOrigin::Derived});
    return codes;
}

std::vector<Offer> offersOfCode(std::string_view code) {
    const std::vector<details::CharacterAtLevel> characters = details::charactersWithCode(code);
    // Only four-letter codes list phrases; each holds the slot the generator counted for it
    // among the characters and phrases, and the characters fill the other slots in order.
    const std::vector<std::uint32_t> entries =
        code.size() == 4 ? index::entriesWithCode(code) : std::vector<std::uint32_t>{};
    std::vector<Offer> offers;
    offers.reserve(characters.size() + entries.size());
    auto character = characters.begin();
    auto entry = entries.begin();
    while (character != characters.end() || entry != entries.end()) {
        if (entry != entries.end() &&
            (character == characters.end() || index::position(*entry) <= offers.size() + 1)) {
            const std::u16string_view text = index::text(*entry++);
            offers.push_back({{text.begin(), text.end()}, details::CodeLevel::Full});
        } else {
            offers.push_back({{character->character}, character->level});
            ++character;
        }
    }
    return offers;
}

std::uint32_t characterPosition(const details::CodeAtLevel& code) {
    // The phrases of a code hold the slots the generator counted for them, in order, and the
    // characters fill the others: each phrase at or before the character's place moves it on.
    std::uint32_t position = code.candidate;
    if (code.code.size() != 4) return position;
    for (const std::uint32_t entry : index::entriesWithCode(code.code)) {
        if (index::position(entry) <= position) ++position;
    }
    return position;
}

std::string_view principalFullCode(const details::CharacterDetails& character) {
    const auto full =
        std::ranges::find(character.codes, details::CodeLevel::Full, &details::CodeAtLevel::level);
    return full != character.codes.end() ? full->code : std::string_view{};
}

}  // namespace phrases
