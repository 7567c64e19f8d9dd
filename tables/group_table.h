// SPDX-License-Identifier: GPL-3.0-or-later
// A group's rows with a compile-time index that keeps "first row wins" for repeated characters.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "tables/code_entry.h"

template <std::size_t N>
class GroupTable {
public:
    constexpr explicit GroupTable(const std::array<CodeEntry, N>& rows) : m_rows(&rows) {
        // One bit per code unit of the range the keys live in, set for the units this group
        // holds, plus the count of set bits before each word: a unit's rank among the held
        // units is then one popcount away, with no search and no data-dependent branch.
        for (const CodeEntry& row : rows) {
            const std::uint32_t offset = row.character - kFirstUnit;
            m_held[offset / 64] |= std::uint64_t{1} << (offset % 64);
        }
        for (std::size_t word = 1; word < kWords; ++word) {
            m_heldBefore[word] = static_cast<std::uint16_t>(m_heldBefore[word - 1] +
                                                            std::popcount(m_held[word - 1]));
        }
        m_rowOfRank.fill(kNoRow);
        for (std::size_t i = 0; i < N; ++i) {
            // The earliest row of a repeated character claims its rank first.
            std::uint16_t& row = m_rowOfRank[rank(rows[i].character - kFirstUnit)];
            if (row == kNoRow) row = static_cast<std::uint16_t>(i);
        }
    }

    // Returns the first row whose character equals `text` exactly, or nullptr if none does.
    constexpr const CodeEntry* find(std::u16string_view text) const {
        if (text.size() != 1) return nullptr;
        // Units below the range wrap around to large offsets.
        const std::uint32_t offset = static_cast<std::uint32_t>(text.front()) - kFirstUnit;
        if (offset >= kUnits) return nullptr;
        if (!(m_held[offset / 64] & (std::uint64_t{1} << (offset % 64)))) return nullptr;
        return &(*m_rows)[m_rowOfRank[rank(offset)]];
    }

    // Returns the Wubi code of the first row holding `text`, or the empty string.
    constexpr std::u16string_view wubiCode(std::u16string_view text) const {
        const CodeEntry* row = find(text);
        return row ? row->wubiCode : std::u16string_view{};
    }

    // Returns the syllable of the first row holding `text`, or the empty string.
    constexpr std::u16string_view syllable(std::u16string_view text) const {
        const CodeEntry* row = find(text);
        return row ? row->syllable : std::u16string_view{};
    }

    constexpr std::span<const CodeEntry> rows() const { return *m_rows; }

private:
    // Every key lies in U+4E00..U+9FFF (the generator checks it).
    static constexpr std::uint32_t kFirstUnit = 0x4E00;
    static constexpr std::uint32_t kUnits = 0xA000 - kFirstUnit;
    static constexpr std::size_t kWords = kUnits / 64;
    static_assert(kUnits % 64 == 0);
    static constexpr std::uint16_t kNoRow = 0xFFFF;
    static_assert(N < kNoRow);

    // The number of held units before `offset`.
    constexpr std::size_t rank(std::uint32_t offset) const {
        const std::uint64_t below = (std::uint64_t{1} << (offset % 64)) - 1;
        return m_heldBefore[offset / 64] + std::popcount(m_held[offset / 64] & below);
    }

    const std::array<CodeEntry, N>* m_rows;
    std::array<std::uint64_t, kWords> m_held{};
    std::array<std::uint16_t, kWords> m_heldBefore{};
    std::array<std::uint16_t, N> m_rowOfRank{};
};
