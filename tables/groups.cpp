// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/groups.h"

#include <array>
#include <cstddef>
#include <cstdint>

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

#define TINGLAN_GROUP_WITH_PINYIN(L) \
    Group { #L[0], Mod_##L::rows, Mod_##L::LookupWubiCode, Mod_##L::LookupPinyin }
#define TINGLAN_GROUP_CODE_ONLY(L) \
    Group { #L[0], Mod_##L::rows, Mod_##L::LookupWubiCode, nullptr }

// In search order; tools/generate_tables.py checks the includes and this list against its groups.
constexpr std::array kGroups{
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

constexpr std::uint8_t kNoGroup = 0xFF;
static_assert(kGroups.size() < kNoGroup);

// A chain's whole search done once, at compile time: for every code unit, the index in kGroups
// of the first group that holds it. Later groups are entered first so that earlier ones
// overwrite them.
constexpr std::array<std::uint8_t, 0x10000> firstGroupTable(bool syllableGroupsOnly) {
    std::array<std::uint8_t, 0x10000> first{};
    first.fill(kNoGroup);
    for (std::size_t g = kGroups.size(); g-- > 0;) {
        // By letter, not by the lookup's pointer: a sanitizer build cannot compare a function's
        // address at compile time. Groups A to K are the ones with syllables.
        if (syllableGroupsOnly && kGroups[g].letter > 'K') continue;
        for (const CodeEntry& row : kGroups[g].rows()) {
            first[row.character] = static_cast<std::uint8_t>(g);
        }
    }
    return first;
}

constexpr std::array<std::uint8_t, 0x10000> kFirstGroupWithCode = firstGroupTable(false);
constexpr std::array<std::uint8_t, 0x10000> kFirstGroupWithSyllable = firstGroupTable(true);

const Group* groupAt(std::uint8_t index) { return index == kNoGroup ? nullptr : &kGroups[index]; }

}  // namespace

std::span<const Group> allGroups() { return kGroups; }

const Group* firstGroupWithCode(char16_t character) {
    return groupAt(kFirstGroupWithCode[character]);
}

const Group* firstGroupWithSyllable(char16_t character) {
    return groupAt(kFirstGroupWithSyllable[character]);
}
