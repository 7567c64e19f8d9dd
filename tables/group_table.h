// SPDX-License-Identifier: GPL-3.0-or-later
// A group's rows with a compile-time index that keeps "first row wins" for repeated characters.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "tables/code_entry.h"

template <std::size_t N>
class GroupTable {
public:
    constexpr explicit GroupTable(const std::array<CodeEntry, N>& rows) : m_rows(&rows) {
        for (std::size_t i = 0; i < N; ++i) {
            m_index[i] = IndexEntry{rows[i].character, static_cast<std::uint16_t>(i)};
        }
        // Sorting by (character, row) puts the earliest row of a repeated character first,
        // so a lower-bound search finds the row a linear walk would find.
        std::sort(m_index.begin(), m_index.end());
    }

    // Returns the first row whose character equals `text` exactly, or nullptr if none does.
    constexpr const CodeEntry* find(std::u16string_view text) const {
        if (text.size() != 1) return nullptr;
        const char16_t key = text.front();
        const auto it = std::lower_bound(
            m_index.begin(), m_index.end(), key,
            [](const IndexEntry& entry, char16_t k) { return entry.character < k; });
        if (it == m_index.end() || it->character != key) return nullptr;
        return &(*m_rows)[it->row];
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
    struct IndexEntry {
        char16_t character;
        std::uint16_t row;
        constexpr auto operator<=>(const IndexEntry&) const = default;
    };

    const std::array<CodeEntry, N>* m_rows;
    std::array<IndexEntry, N> m_index{};
};
