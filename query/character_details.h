// SPDX-License-Identifier: GPL-3.0-or-later
// Every code and reading of one character, as the result fields' tooltips show them.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "tables/details.h"

// Returns the codes and readings of `character`, one UTF-16 code unit or a surrogate pair;
// nullopt for anything else (empty, longer, a lone surrogate) and for a character that the Wubi
// source gives no code.
std::optional<details::CharacterDetails> detailsOf(QStringView character);

// Returns the codes of `character` as lines for the Wubi result's tooltip, one per code in level
// order, each a label and the code ("一级简码：q", "三级简码：trn", "全码：trnt"), joined by
// LF without a final one; empty when there are no codes.
QString codesByLevelText(const details::CharacterDetails& character);

// Returns the readings of `character` with tone marks for the pinyin result's tooltip, on one
// line, the filing reading first ("读音：cháng、zhǎng"); empty when there are none.
QString readingsText(const details::CharacterDetails& character);
