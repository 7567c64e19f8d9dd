// SPDX-License-Identifier: GPL-3.0-or-later
// The character query: cut the input to one character, run the Wubi and pinyin chains.
#pragma once

#include <QString>

class QueryWindow;

struct QueryResult {
    QString wubi;    // a Wubi code, or "None!"
    QString pinyin;  // a syllable, or empty
};

// Returns the first character of `text`: its first UTF-16 code unit, or both units of a
// surrogate pair. Returns `text` itself when it is empty or one character long.
QString cutToFirstCharacter(const QString& text);

// Returns the first non-empty code of the Wubi chain (or "None!") and the first non-empty
// syllable of the pinyin chain (or empty) for `character`, exactly as the tables' lookupChains
// gives them.
QueryResult queryCharacter(QStringView character);

// The query button's handler: reads the input box, cuts it, shows both results, then hands the
// character and the two results to the history step `wbscdaochu`, which records them in the
// history file at `historyPath`. An empty input box only gets the focus. Returns the character
// queried, or the empty string for an empty box, so that later steps need not read it back.
QString Cmmsearch_Click(QueryWindow& window, const QString& historyPath);
