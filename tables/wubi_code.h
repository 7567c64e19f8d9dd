// SPDX-License-Identifier: GPL-3.0-or-later
// What a Wubi 86 code is, as typed: the test that the details and the command line share.
#pragma once

#include <algorithm>
#include <string_view>

// Returns whether `text` is a Wubi 86 code as typed: 1 to 4 letters a to y.
constexpr bool isWubiCode(std::string_view text) {
    return !text.empty() && text.size() <= 4 &&
           std::ranges::all_of(text, [](char letter) { return letter >= 'a' && letter <= 'y'; });
}
