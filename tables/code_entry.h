// SPDX-License-Identifier: GPL-3.0-or-later
// One row of a group table: a character with its Wubi 86 code and, in groups A to K, its syllable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The row holds its texts itself rather than pointing at them, so that the tables hold no
// pointer for the loader to relocate when a program starts.
class CodeEntry {
public:
    static constexpr std::size_t kMaxCodeLength = 4;      // Wubi 86 codes have 1 to 4 letters
    static constexpr std::size_t kMaxSyllableLength = 6;  // chuang, shuang, zhuang

    constexpr CodeEntry() = default;

    // Makes the row of `character` from the literals of its code and syllable (u"" for none).
    template <std::size_t CodeSize, std::size_t SyllableSize>
    constexpr CodeEntry(char16_t character, const char16_t (&wubiCode)[CodeSize],
                        const char16_t (&syllable)[SyllableSize])
        : character(character), m_codeLength(CodeSize - 1), m_syllableLength(SyllableSize - 1) {
        static_assert(CodeSize - 1 <= kMaxCodeLength && SyllableSize - 1 <= kMaxSyllableLength);
        for (std::size_t i = 0; i + 1 < CodeSize; ++i) m_code[i] = wubiCode[i];
        for (std::size_t i = 0; i + 1 < SyllableSize; ++i) m_syllable[i] = syllable[i];
    }

    // The Wubi code: 1 to 4 letters a..y.
    constexpr std::u16string_view wubiCode() const { return {m_code, m_codeLength}; }
    // The toneless pinyin syllable; empty in groups L to Z.
    constexpr std::u16string_view syllable() const { return {m_syllable, m_syllableLength}; }

    char16_t character = 0;  // the key: one UTF-16 code unit, U+4E00..U+9FFF

private:
    char16_t m_code[kMaxCodeLength] = {};
    char16_t m_syllable[kMaxSyllableLength] = {};
    std::uint8_t m_codeLength = 0;
    std::uint8_t m_syllableLength = 0;
};
