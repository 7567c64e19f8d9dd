// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/character_query.h"

#include <string_view>

#include "tables/groups.h"
#include "query/query_window.h"

namespace {

// The tables' strings are constant for the life of the program, so the results share them.
QString fromTable(std::u16string_view text) {
    return QString::fromRawData(reinterpret_cast<const QChar*>(text.data()),
                                static_cast<qsizetype>(text.size()));
}

}  // namespace

QString cutToFirstCharacter(const QString& text) {
    // A surrogate pair stays whole: half of one is a broken character in the box and the file.
    const qsizetype length =
        text.size() >= 2 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
    return text.size() <= length ? text : text.left(length);
}

QueryResult queryCharacter(QStringView character) {
    QueryResult result{fromTable(kNoWubiCode), QString()};
    // Every key is one code unit, so any other text is held nowhere.
    if (character.size() != 1) return result;
    const char16_t unit = character.front().unicode();
    const std::u16string_view key(&unit, 1);
    // The first group of each chain that holds the character is known in advance; that group
    // answers from its own rows.
    if (const Group* group = firstGroupWithCode(unit)) {
        result.wubi = fromTable(group->lookupWubiCode(key));
    }
    if (const Group* group = firstGroupWithSyllable(unit)) {
        result.pinyin = fromTable(group->lookupPinyin(key));
    }
    return result;
}

void Cmmsearch_Click(QueryWindow& window) {
    const QString text = window.inputText();
    if (text.isEmpty()) {
        window.focusInput();
        return;
    }
    const QString character = cutToFirstCharacter(text);
    window.setInputText(character);
    const QueryResult result = queryCharacter(character);
    window.setWubiResult(result.wubi);
    window.setPinyinResult(result.pinyin);
    window.wbscdaochu();
}
