// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/strokes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "tables/stroke_data.h"

namespace strokes {
namespace {

using namespace data;

// `width` bits (at most 25) of a stream at bit `bit`; the streams end in three spare bytes.
std::uint32_t bitsAt(const unsigned char* stream, std::size_t bit, unsigned width) {
    const unsigned char* at = stream + bit / 8;
    const std::uint32_t word = at[0] | at[1] << 8 | at[2] << 16 | std::uint32_t{at[3]} << 24;
    return word >> (bit % 8) & ((1u << width) - 1);
}

// The three strokes, as digits, of each 7-bit value s0 + 5 s1 + 25 s2 of the stroke stream.
constexpr auto kTriplets = [] {
    std::array<std::array<char, 3>, 125> triplets{};
    for (int value = 0; value < 125; ++value) {
        triplets[value] = {char('1' + value % 5), char('1' + value / 5 % 5),
                           char('1' + value / 25)};
    }
    return triplets;
}();

char strokeAt(std::size_t position) {
    return kTriplets[bitsAt(kOrders, 7 * (position / 3), 7)][position % 3];
}

std::size_t strokeCountAt(std::size_t index) { return kCounts[index] & ~kRankedFlag; }

// The place of `codePoint` among the characters with an order: the presence bits before its own,
// counted from the nearest directory entry; nullopt if it has no order.
std::optional<std::size_t> indexOf(char32_t codePoint) {
    if (codePoint < kFirstCodePoint) return std::nullopt;
    const std::size_t offset = codePoint - kFirstCodePoint;
    const std::size_t word = offset / 64;
    if (word >= kWordCount) return std::nullopt;
    const std::uint64_t below = (std::uint64_t{1} << offset % 64) - 1;
    if (!(kPresent[word] >> offset % 64 & 1)) return std::nullopt;
    std::size_t index = kPresentBefore[word / kRankEvery];
    for (std::size_t w = word - word % kRankEvery; w < word; ++w) {
        index += std::popcount(kPresent[w]);
    }
    return index + std::popcount(kPresent[word] & below);
}

// The inverse of indexOf.
char32_t codePointOf(std::size_t index) {
    const std::size_t directory = std::ranges::upper_bound(kPresentBefore, index) - kPresentBefore;
    std::size_t word = (directory - 1) * kRankEvery;
    std::size_t before = kPresentBefore[directory - 1];
    while (before + std::popcount(kPresent[word]) <= index) {
        before += std::popcount(kPresent[word++]);
    }
    std::uint64_t bits = kPresent[word];
    for (; before < index; ++before) bits &= bits - 1;
    return static_cast<char32_t>(kFirstCodePoint + 64 * word + std::countr_zero(bits));
}

// The stroke counts of the characters [from, to) added up; the search calls this for every
// weighted character, so it adds eight counts at a time: the flags masked off, then byte pairs
// into 16-bit lanes (each at most 254), then the four lanes by one multiplication.
std::size_t strokesBetween(std::size_t from, std::size_t to) {
    std::size_t sum = 0;
    for (; from + 8 <= to; from += 8) {
        std::uint64_t counts;
        std::memcpy(&counts, kCounts + from, sizeof counts);
        counts &= 0x7F7F'7F7F'7F7F'7F7F;
        counts = (counts & 0x00FF'00FF'00FF'00FF) + (counts >> 8 & 0x00FF'00FF'00FF'00FF);
        sum += counts * 0x0001'0001'0001'0001 >> 48;
    }
    for (; from < to; ++from) sum += strokeCountAt(from);
    return sum;
}

std::size_t firstStrokeOf(std::size_t index) {
    const std::size_t sample = index / kSampleEvery;
    return kStrokeStart[sample] + strokesBetween(sample * kSampleEvery, index);
}

// Whether the strokes from `firstStroke` on, `strokeCount` of them, begin with `wanted`.
bool beginsWith(std::size_t firstStroke, std::size_t strokeCount, std::string_view wanted) {
    if (strokeCount < wanted.size()) return false;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (wanted[i] != '?' && wanted[i] != strokeAt(firstStroke + i)) return false;
    }
    return true;
}

}  // namespace

int count(char32_t codePoint) {
    const std::optional<std::size_t> index = indexOf(codePoint);
    return index ? static_cast<int>(strokeCountAt(*index)) : 0;
}

std::string order(char32_t codePoint) {
    const std::optional<std::size_t> index = indexOf(codePoint);
    if (!index) return {};
    std::string digits(strokeCountAt(*index), '\0');
    const std::size_t first = firstStrokeOf(*index);
    for (std::size_t i = 0; i < digits.size(); ++i) digits[i] = strokeAt(first + i);
    return digits;
}

std::string glyphs(std::string_view order) {
    // Each stroke alone, as a character of the unified block that every CJK font has.
    constexpr std::string_view kGlyphs[] = {"一", "丨", "丿", "丶", "乚"};
    std::string text;
    text.reserve(3 * order.size());
    for (const char stroke : order) text += kGlyphs[stroke - '1'];
    return text;
}

std::optional<Sequence> Sequence::parse(std::string_view text) {
    // A letter stands for the digit five places before it.
    constexpr std::string_view kSpellings = "12345hspnz";
    if (text.empty()) return std::nullopt;
    std::string strokes;
    strokes.reserve(text.size());
    for (char c : text) {
        const std::size_t at = kSpellings.find(c);
        if (c == '?') {
            strokes += '?';
        } else if (at != std::string_view::npos) {
            strokes += kSpellings[at % 5];
        } else {
            return std::nullopt;
        }
    }
    return Sequence(std::move(strokes));
}

Matches::Matches(Sequence sequence) : m_sequence(std::move(sequence)), m_unvisited(kPresent[0]) {}

std::optional<char32_t> Matches::next() {
    const std::string_view wanted = m_sequence.strokes();
    while (m_ranked < kRankedCount) {
        const std::size_t index = bitsAt(kRanked, kRankedBits * m_ranked++, kRankedBits);
        if (beginsWith(firstStrokeOf(index), strokeCountAt(index), wanted)) {
            return codePointOf(index);
        }
    }
    // Then every unweighted character, walking the presence bits and the stroke stream along.
    while (m_index < kCharacterCount) {
        while (m_unvisited == 0) m_unvisited = kPresent[++m_word];
        const int bit = std::countr_zero(m_unvisited);
        m_unvisited &= m_unvisited - 1;
        const std::size_t index = m_index++;
        const std::size_t firstStroke = m_firstStroke;
        m_firstStroke += strokeCountAt(index);
        if (kCounts[index] & kRankedFlag) continue;
        if (beginsWith(firstStroke, strokeCountAt(index), wanted)) {
            return static_cast<char32_t>(kFirstCodePoint + 64 * m_word + bit);
        }
    }
    return std::nullopt;
}

}  // namespace strokes
