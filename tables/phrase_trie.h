// SPDX-License-Identifier: GPL-3.0-or-later
// The listed phrases as a trie of their prefixes, laid out for a walk along a text and built a
// first character at a time, as the text brings them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tables/phrase_index.h"

namespace phrases {

class PhraseTrie {
public:
    // A prefix of two or more code units, numbered as the trie adds it.
    using Node = std::uint32_t;
    static constexpr Node kNone = UINT32_MAX;

    // The prefixes one code unit longer than another, which stand together in code unit order.
    struct Children {
        Node first = 0;
        std::uint16_t count = 0;
    };

    // What the walk needs of a prefix: whether it is a listed word, with the code that types it,
    // and whether a longer one may follow. Twelve bytes.
    struct Prefix {
        std::array<char, 4> code{};  // where the prefix is a listed word, its first code
        Node childrenFirst = 0;
        std::uint16_t childCount = 0;
        std::uint8_t position = 0;  // the candidate position of `code`, 1 = first; 0: no word

        Children children() const { return {childrenFirst, childCount}; }
    };

    PhraseTrie();

    // Adds the prefixes of the phrases that start with `first`, which must not have been added
    // before; returns those of two code units.
    Children add(char16_t first);

    // Returns the one of `children` whose last code unit is `unit`, or kNone.
    Node child(Children children, char32_t unit) const {
        if (children.count == 0) return kNone;
        // A lower bound without branches on the comparisons, which running text makes random.
        const char16_t* base = m_units.data() + children.first;
        std::size_t count = children.count;
        while (count > 1) {
            const std::size_t half = count / 2;
            base = base[half - 1] < unit ? base + half : base;
            count -= half;
        }
        return *base == unit ? static_cast<Node>(base - m_units.data()) : kNone;
    }

    // Returns the last code unit of `node`.
    char16_t unit(Node node) const { return m_units[node]; }

    const Prefix& prefix(Node node) const { return m_prefixes[node]; }

private:
    // Adds the prefixes one code unit longer than the `depth` that the entries `range` share,
    // and theirs in turn.
    Children addChildren(index::Range range, std::size_t depth);

    // The last code units apart from the rest, so that a search reads only them.
    std::vector<char16_t> m_units;
    std::vector<Prefix> m_prefixes;
};

}  // namespace phrases
