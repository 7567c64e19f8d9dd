// SPDX-License-Identifier: GPL-3.0-or-later
// The registry of the 23 group modules in search order, and which group each chain stops at.
#pragma once

#include <span>
#include <string_view>

#include "tables/code_entry.h"

using LookupFunction = std::u16string_view (*)(std::u16string_view text);

struct Group {
    char letter;                           // 'A' .. 'Z' (no I, U, V)
    std::span<const CodeEntry> (*rows)();  // the group's rows in table order
    LookupFunction lookupWubiCode;         // never null
    LookupFunction lookupPinyin;           // null in groups L to Z
};

// Returns every group in the order of the Wubi chain: A B C D E F G H J K L M N O P Q R S T W X Y
// Z.
std::span<const Group> allGroups();

// Returns the first group of the Wubi chain (the order above) that holds `character`, or
// nullptr; that group's own lookups then answer for it.
const Group* firstGroupWithCode(char16_t character);

// Returns the first group with a syllable lookup, in the same order, that holds `character`, or
// nullptr.
const Group* firstGroupWithSyllable(char16_t character);
