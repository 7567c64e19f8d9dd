// SPDX-License-Identifier: GPL-3.0-or-later
// One row of a group table: a character with its Wubi 86 code and, in groups A to K, its syllable.
#pragma once

#include <string_view>

struct CodeEntry {
    char16_t character;            // the key: one UTF-16 code unit, U+4E00..U+9FFF
    std::u16string_view wubiCode;  // 1 to 4 letters a..y
    std::u16string_view syllable;  // toneless pinyin; empty in groups L to Z
};
