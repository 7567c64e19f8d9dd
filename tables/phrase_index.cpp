// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/phrase_index.h"

#include <algorithm>
#include <ranges>

namespace phrases::index {
namespace {

using namespace data;

// The code unit of `entry` at `depth`, or 0 where its text is that short: an entry that is the
// shared prefix itself sorts before its extensions, and no hanzi is U+0000.
char16_t unitAt(std::uint32_t entry, std::size_t depth) {
    const std::size_t at = kPhraseTextStart[entry] + depth;
    return at < kPhraseTextStart[entry + 1] ? kPhraseText[at] : u'\0';
}

std::uint32_t byCode(std::size_t k) {
    const auto* bytes = kPhrasesByCode + 3 * k;
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16;
}

// The four letters of a code as a number that sorts as the code does: the coach places each
// character it meets among its code's phrases, and a comparison of strings would cost a call.
std::uint32_t codeKey(const char* letters) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(letters);
    return std::uint32_t{bytes[0]} << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
}

}  // namespace

Range narrow(Range within, std::size_t depth, char16_t unit) {
    // Past the first characters the ranges are short, and a walk beats a search that keeps
    // guessing its branches wrong.
    if (within.last - within.first <= 8) {
        std::uint32_t first = within.first;
        while (first < within.last && unitAt(first, depth) < unit) ++first;
        std::uint32_t last = first;
        while (last < within.last && unitAt(last, depth) == unit) ++last;
        return {first, last};
    }
    const auto entries = std::views::iota(within.first, within.last);
    const auto unitOf = [depth](std::uint32_t entry) { return unitAt(entry, depth); };
    // Most searches in running text fail, so the end is looked for only after a match.
    const auto first = std::ranges::lower_bound(entries, unit, {}, unitOf);
    if (first == entries.end() || unitAt(*first, depth) != unit) return {};
    const auto last = std::ranges::upper_bound(first, entries.end(), unit, {}, unitOf);
    return {*first, last == entries.end() ? within.last : *last};
}

std::vector<std::uint32_t> entriesWithCode(std::string_view code) {
    // Every phrase code has four letters.
    if (code.size() != 4) return {};
    const auto all = std::views::iota(std::size_t{0}, kPhraseCount);
    const auto [first, last] = std::ranges::equal_range(
        all, codeKey(code.data()), {},
        [](std::size_t k) { return codeKey(kPhraseCodes + 4 * byCode(k)); });
    std::vector<std::uint32_t> entries;
    for (auto it = first; it != last; ++it) entries.push_back(byCode(*it));
    return entries;
}

}  // namespace phrases::index
