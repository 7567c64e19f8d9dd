#include "groups.h"

#include <array>

#include "mod_a.h"
#include "mod_b.h"
#include "mod_c.h"
#include "mod_d.h"
#include "mod_e.h"
#include "mod_f.h"
#include "mod_g.h"
#include "mod_h.h"
#include "mod_j.h"
#include "mod_k.h"
#include "mod_l.h"
#include "mod_m.h"
#include "mod_n.h"
#include "mod_o.h"
#include "mod_p.h"
#include "mod_q.h"
#include "mod_r.h"
#include "mod_s.h"
#include "mod_t.h"
#include "mod_w.h"
#include "mod_x.h"
#include "mod_y.h"
#include "mod_z.h"

namespace {

#define TINGLAN_GROUP_WITH_PINYIN(L) \
    Group { #L[0], Mod_##L::rows, Mod_##L::LookupWubiCode, Mod_##L::LookupPinyin }
#define TINGLAN_GROUP_CODE_ONLY(L) \
    Group { #L[0], Mod_##L::rows, Mod_##L::LookupWubiCode, nullptr }

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

}  // namespace

std::span<const Group> allGroups() { return kGroups; }
