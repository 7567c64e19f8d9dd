// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/character_query.h"

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
    const ChainAnswer answer =
        lookupChains(std::u16string_view(character.utf16(), character.size()));
    return {fromTable(answer.wubi), answer.pinyin.empty() ? QString() : fromTable(answer.pinyin)};
}

QString Cmmsearch_Click(QueryWindow& window, const QString& historyPath) {
    const QString text = window.inputText();
    if (text.isEmpty()) {
        window.focusInput();
        return text;
    }
    const QString character = cutToFirstCharacter(text);
    window.setInputText(character);
    const QueryResult result = queryCharacter(character);
    window.setWubiResult(result.wubi);
    window.setPinyinResult(result.pinyin);
    wbscdaochu(window, historyPath, character, result.wubi, result.pinyin);
    return character;
}
