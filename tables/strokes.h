// SPDX-License-Identifier: GPL-3.0-or-later
// Every character's standard stroke order, and the search for characters by their first strokes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace strokes {

// Strokes are written as digits: '1' 横, '2' 竖, '3' 撇, '4' 点, '5' 折.

// Returns the number of strokes of `codePoint`, or 0 if the stroke data has no order for it.
int count(char32_t codePoint);

// Returns the standard stroke order of `codePoint`, one digit per stroke, or "" if the stroke
// data has none.
std::string order(char32_t codePoint);

// Returns the strokes of `order` (digits '1' to '5') as the characters that draw them, in UTF-8:
// 一 丨 丿 丶 乚.
std::string glyphs(std::string_view order);

// The first strokes of the characters to search for.
class Sequence {
public:
    // Returns the sequence `text` spells in the digits 1 to 5 or the letters h s p n z, with
    // '?' for any one stroke; nullopt if `text` is empty or holds any other character.
    static std::optional<Sequence> parse(std::string_view text);

    // Returns the sequence in digits, with '?' for any one stroke.
    std::string_view strokes() const { return m_strokes; }

private:
    explicit Sequence(std::string strokes) : m_strokes(std::move(strokes)) {}
    std::string m_strokes;
};

// The characters whose standard stroke order begins with a sequence, each once: first the
// characters the Wubi source gives a weight, most common first, then the others in code-point
// order. They are found one at a time, so that the first comes at once.
class Matches {
public:
    explicit Matches(Sequence sequence);

    // Returns the next character, or nullopt when there are no more.
    std::optional<char32_t> next();

private:
    Sequence m_sequence;
    std::size_t m_ranked = 0;       // the next weighted character to try
    std::size_t m_word = 0;         // the presence word the code-point walk has reached
    std::uint64_t m_unvisited;      // its characters not yet tried
    std::size_t m_index = 0;        // the index of the next character in code-point order
    std::size_t m_firstStroke = 0;  // that character's first stroke in the stroke stream
};

}  // namespace strokes
