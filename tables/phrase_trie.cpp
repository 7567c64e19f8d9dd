// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/phrase_trie.h"

#include <algorithm>

#include "tables/phrase_data.h"

namespace phrases {

// Prefix::childCount holds a number of phrases.
static_assert(data::kPhraseCount <= UINT16_MAX, "widen PhraseTrie::Prefix::childCount");
static_assert(sizeof(PhraseTrie::Prefix) == 12);

PhraseTrie::PhraseTrie() {
    // An entry of n code units adds at most n - 1 prefixes of two or more: room for all of them
    // from the start spares the copies of a growing list, and takes memory only as it is used.
    m_units.reserve(data::kPhraseTextSize - data::kPhraseCount);
    m_prefixes.reserve(data::kPhraseTextSize - data::kPhraseCount);
}

PhraseTrie::Children PhraseTrie::add(char16_t first) {
    return addChildren(index::narrow(index::all(), 0, first), 1);
}

PhraseTrie::Children PhraseTrie::addChildren(index::Range range, std::size_t depth) {
    const auto first = static_cast<Node>(m_units.size());
    // The entry of the shared prefix itself sorts first; each of the others adds the prefix of
    // one more code unit that it starts with, once.
    std::uint32_t entry = range.first;
    while (entry < range.last && index::length(entry) == depth) ++entry;
    const std::uint32_t longer = entry;
    while (entry < range.last) {
        const char16_t unit = index::text(entry)[depth];
        Prefix prefix;
        if (index::length(entry) == depth + 1) {
            std::ranges::copy(index::code(entry), prefix.code.begin());
            prefix.position = static_cast<std::uint8_t>(index::position(entry));
        }
        do ++entry;
        while (entry < range.last && index::text(entry)[depth] == unit);
        // Where the entries that start with the prefix end, until its children are added.
        prefix.childrenFirst = entry;
        m_units.push_back(unit);
        m_prefixes.push_back(prefix);
    }
    const auto count = static_cast<std::uint16_t>(m_units.size() - first);
    entry = longer;
    for (Node node = first; node < first + count; ++node) {
        const index::Range starting = {entry, m_prefixes[node].childrenFirst};
        const Children children = addChildren(starting, depth + 1);
        m_prefixes[node].childrenFirst = children.first;
        m_prefixes[node].childCount = children.count;
        entry = starting.last;
    }
    return {first, count};
}

}  // namespace phrases
