// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/character_query.h"

#include <iterator>
#include <string_view>

#include "query/history_log.h"
#include "query/query_window.h"
#include "tables/groups.h"

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
    // Every key is one code unit, so any other text is held nowhere, like U+0000. The first
    // group of each chain that holds the character is known in advance; that group answers
    // from its own rows.
    const char16_t unit = character.size() == 1 ? character.front().unicode() : u'\0';
    const Group* codeGroup = firstGroupWithCode(unit);
    const Group* syllableGroup = firstGroupWithSyllable(unit);
    const std::u16string_view key(&unit, 1);
    return {codeGroup ? fromTable(codeGroup->lookupWubiCode(key))
                      : fromTable({kNoWubiCode, std::size(kNoWubiCode) - 1}),
            syllableGroup ? fromTable(syllableGroup->lookupPinyin(key)) : QString()};
}

void Cmmsearch_Click(QueryWindow& window, const QString& historyPath) {
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
    wbscdaochu(window, historyPath, character, result.wubi, result.pinyin);
}
