// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/groups.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "tables/mod_a.h"
#include "tables/mod_b.h"
#include "tables/mod_c.h"
#include "tables/mod_d.h"
#include "tables/mod_e.h"
#include "tables/mod_f.h"
#include "tables/mod_g.h"
#include "tables/mod_h.h"
#include "tables/mod_j.h"
#include "tables/mod_k.h"
#include "tables/mod_l.h"
#include "tables/mod_m.h"
#include "tables/mod_n.h"
#include "tables/mod_o.h"
#include "tables/mod_p.h"
#include "tables/mod_q.h"
#include "tables/mod_r.h"
#include "tables/mod_s.h"
#include "tables/mod_t.h"
#include "tables/mod_w.h"
#include "tables/mod_x.h"
#include "tables/mod_y.h"
#include "tables/mod_z.h"

namespace {

// A module as the registry reads it at compile time.
struct Module {
    char letter;
    std::span<const CodeEntry> rows;
    LookupFunction lookupWubiCode;
    LookupFunction lookupPinyin;
};

#define TINGLAN_GROUP_WITH_PINYIN(L) \
    Module { #L[0], Mod_##L::kRows, Mod_##L::LookupWubiCode, Mod_##L::LookupPinyin }
#define TINGLAN_GROUP_CODE_ONLY(L) \
    Module { #L[0], Mod_##L::kRows, Mod_##L::LookupWubiCode, nullptr }

// In chain order; tools/generate_tables.py checks the includes and this list against its groups.
constexpr std::array kModules{
    TINGLAN_GROUP_WITH_PINYIN(A), TINGLAN_GROUP_WITH_PINYIN(B), TINGLAN_GROUP_WITH_PINYIN(C),
    TINGLAN_GROUP_WITH_PINYIN(D), TINGLAN_GROUP_WITH_PINYIN(E), TINGLAN_GROUP_WITH_PINYIN(F),
    TINGLAN_GROUP_WITH_PINYIN(G), TINGLAN_GROUP_WITH_PINYIN(H), TINGLAN_GROUP_WITH_PINYIN(J),
    TINGLAN_GROUP_WITH_PINYIN(K), TINGLAN_GROUP_CODE_ONLY(L),   TINGLAN_GROUP_CODE_ONLY(M),
    TINGLAN_GROUP_CODE_ONLY(N),   TINGLAN_GROUP_CODE_ONLY(O),   TINGLAN_GROUP_CODE_ONLY(P),
    TINGLAN_GROUP_CODE_ONLY(Q),   TINGLAN_GROUP_CODE_ONLY(R),   TINGLAN_GROUP_CODE_ONLY(S),
    TINGLAN_GROUP_CODE_ONLY(T),   TINGLAN_GROUP_CODE_ONLY(W),   TINGLAN_GROUP_CODE_ONLY(X),
    TINGLAN_GROUP_CODE_ONLY(Y),   TINGLAN_GROUP_CODE_ONLY(Z),
};

#undef TINGLAN_GROUP_WITH_PINYIN
#undef TINGLAN_GROUP_CODE_ONLY

constexpr std::size_t kRowCount = [] {
    std::size_t count = 0;
    for (const Module& module : kModules) count += module.rows.size();
    return count;
}();

// Rows are numbered by 16 bits, one number kept free for "no row".
constexpr std::uint16_t kNoRow = 0xFFFF;
static_assert(kRowCount < kNoRow);

// The one copy of the rows that the programs hold: a row can be named by one number, which the
// chains' index below stores. The modules' own arrays are only read here, at compile time.
constexpr std::array<CodeEntry, kRowCount> kAllRows = [] {
    std::array<CodeEntry, kRowCount> rows{};
    auto next = rows.begin();
    for (const Module& module : kModules) next = std::ranges::copy(module.rows, next).out;
    return rows;
}();

constexpr std::array<Group, kModules.size()> kGroups = [] {
    std::array<Group, kModules.size()> groups{};
    std::size_t firstRow = 0;
    for (std::size_t g = 0; g < kModules.size(); ++g) {
        const Module& module = kModules[g];
        groups[g] = {module.letter, module.lookupWubiCode, module.lookupPinyin,
                     static_cast<std::uint16_t>(firstRow),
                     static_cast<std::uint16_t>(module.rows.size())};
        firstRow += module.rows.size();
    }
    return groups;
}();

// Every key lies in U+4E00..U+9FFF (the generator checks it).
constexpr char16_t kFirstUnit = kFirstKeyUnit;
constexpr std::size_t kUnits = 0xA000 - kFirstUnit;

// Both chains' whole search, done once at compile time: for every unit, the first row of the
// first group in chain order that holds it. That row's code answers the Wubi chain. Groups A to
// K, the pinyin chain, come first in the Wubi chain and every row of theirs has a syllable, so
// the same row's syllable answers the pinyin chain; a row of L to Z has none, as no group of the
// pinyin chain holds its character. Later rows are entered first so that earlier ones win.
// (tests/tables_test.cpp checks this against a walk of both chains for every unit.)
constexpr std::array<std::uint16_t, kUnits> kFirstRowOfUnit = [] {
    std::array<std::uint16_t, kUnits> first{};
    first.fill(kNoRow);
    for (std::size_t row = kRowCount; row-- > 0;) {
        first[kAllRows[row].character - kFirstUnit] = static_cast<std::uint16_t>(row);
    }
    return first;
}();

constexpr AnswerText answerText(std::u16string_view wubi, std::u16string_view pinyin) {
    AnswerText answer{};
    std::size_t size = 0;
    for (const char16_t letter : wubi) answer.text[size++] = static_cast<char>(letter);
    answer.text[size++] = '\t';
    for (const char16_t letter : pinyin) answer.text[size++] = static_cast<char>(letter);
    answer.size = static_cast<std::uint8_t>(size);
    return answer;
}

// The chains' answers once more, as text: a writer of many answers copies one slot each.
constexpr std::array<AnswerText, kUnits + 1> kAnswerTexts = [] {
    static_assert(CodeEntry::kMaxCodeLength + 1 + CodeEntry::kMaxSyllableLength <=
                  sizeof AnswerText::text);
    std::array<AnswerText, kUnits + 1> texts{};
    for (std::size_t unit = 0; unit <= kUnits; ++unit) {
        const std::uint16_t row = unit < kUnits ? kFirstRowOfUnit[unit] : kNoRow;
        texts[unit] = row == kNoRow
                          ? answerText(kNoWubiCode, {})
                          : answerText(kAllRows[row].wubiCode(), kAllRows[row].syllable());
    }
    return texts;
}();

}  // namespace

std::span<const CodeEntry> Group::rows() const {
    return std::span(kAllRows).subspan(firstRow, rowCount);
}

std::span<const Group> allGroups() { return kGroups; }

const CodeEntry* findRow(char letter, std::u16string_view text) {
    if (text.size() != 1) return nullptr;
    const auto group = std::ranges::find(kGroups, letter, &Group::letter);
    if (group == kGroups.end()) return nullptr;
    // A plain loop, which stays quick unoptimised, where the tests walk every group for every
    // unit.
    const CodeEntry* const end = kAllRows.data() + group->firstRow + group->rowCount;
    for (const CodeEntry* row = kAllRows.data() + group->firstRow; row != end; ++row) {
        if (row->character == text.front()) return row;
    }
    return nullptr;
}

ChainAnswer lookupChains(std::u16string_view text) {
    // Units below the range wrap around to large offsets; U+0000 stands for every text that is
    // not one code unit.
    const std::size_t offset =
        static_cast<char16_t>((text.size() == 1 ? text.front() : u'\0') - kFirstUnit);
    const std::uint16_t row = offset < kUnits ? kFirstRowOfUnit[offset] : kNoRow;
    if (row == kNoRow) return {{kNoWubiCode, std::size(kNoWubiCode) - 1}, {}};
    return {kAllRows[row].wubiCode(), kAllRows[row].syllable()};
}

std::span<const AnswerText> answerTexts() { return kAnswerTexts; }
