// SPDX-License-Identifier: GPL-3.0-or-later
// The listed phrases as generated: entries sorted by text, each with its code and candidate
// position, found by a prefix of their text or by their code. The accessors are inline: the
// typing coach calls them for every character of a text.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "tables/phrase_data.h"

namespace phrases::index {

// Entries first .. last - 1 in text order; those sharing a prefix stand together, the one
// that is the prefix itself first.
struct Range {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    bool empty() const { return first == last; }
};

// Returns every entry.
inline Range all() { return {0, static_cast<std::uint32_t>(data::kPhraseCount)}; }

// Returns the number of code units in the text of `entry`.
inline std::size_t length(std::uint32_t entry) {
    return data::kPhraseTextStart[entry + 1] - data::kPhraseTextStart[entry];
}

// Returns the text of `entry`: two or more hanzi, UTF-16, in static storage.
inline std::u16string_view text(std::uint32_t entry) {
    return {data::kPhraseText + data::kPhraseTextStart[entry], length(entry)};
}

// Returns the four code letters of `entry`, in static storage.
inline std::string_view code(std::uint32_t entry) { return {data::kPhraseCodes + 4 * entry, 4}; }

// Returns the candidate position at which `entry`'s code offers it, 1 for first.
inline std::uint32_t position(std::uint32_t entry) { return data::kPhrasePositions[entry]; }

// Returns the entries of `within`, which all share their first `depth` code units, whose next
// code unit is `unit`.
Range narrow(Range within, std::size_t depth, char16_t unit);

// Returns the entries listed under `code`, by candidate position.
std::vector<std::uint32_t> entriesWithCode(std::string_view code);

}  // namespace phrases::index
