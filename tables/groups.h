// SPDX-License-Identifier: GPL-3.0-or-later
// The 23 group modules taken together: their registry in chain order, the one store of their
// rows, and the two chains of the character query through them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "tables/code_entry.h"

using LookupFunction = std::u16string_view (*)(std::u16string_view text);

struct Group {
    char letter;                    // 'A' .. 'Z' (no I, U, V)
    LookupFunction lookupWubiCode;  // the module's LookupWubiCode; never null
    LookupFunction lookupPinyin;    // the module's LookupPinyin; null in groups L to Z
    std::uint16_t firstRow;         // where the group's rows start in the store
    std::uint16_t rowCount;

    // Returns the group's rows in table order.
    std::span<const CodeEntry> rows() const;
};

// Returns every group in the order of the Wubi chain: A B C D E F G H J K L M N O P Q R S T W X
// Y Z.
std::span<const Group> allGroups();

// Returns the first row of group `letter` whose character equals `text` exactly (no trimming,
// no cutting), or nullptr: the walk behind the group's lookups.
const CodeEntry* findRow(char letter, std::u16string_view text);

// The Wubi result for a character that no group holds.
inline constexpr char16_t kNoWubiCode[] = u"None!";

struct ChainAnswer {
    std::u16string_view wubi;    // the first non-empty code of the Wubi chain, or "None!"
    std::u16string_view pinyin;  // the first non-empty syllable of the pinyin chain, or empty
};

// Returns what the Wubi chain (the code lookups of all groups, in chain order) and the pinyin
// chain (the syllable lookups of groups A to K) answer for `text`, exactly as the lookups give
// it: the views are the rows' own texts. Every key is one code unit, so any other text (empty,
// longer, a surrogate pair) is held nowhere: "None!" and empty.
ChainAnswer lookupChains(std::u16string_view text);

// What the chains answer for one code unit, as the text of tab-separated fields: the Wubi
// result, a tab and the pinyin result, in ASCII ("kb\ta", "q\t", "None!\t"), padded with NULs,
// so that a writer may copy it whole.
struct AnswerText {
    char text[15];
    std::uint8_t size;  // of the text before the padding
};

// The first unit that a group can hold: every key lies in U+4E00..U+9FFF.
inline constexpr char16_t kFirstKeyUnit = u'\u4E00';

// Returns the answer text of every unit from kFirstKeyUnit to U+9FFF, in order, and then the
// one of every other unit ("None!\t"), for a program that answers many characters.
std::span<const AnswerText> answerTexts();
