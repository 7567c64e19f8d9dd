// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/character_query.h"

#include <string_view>

#include "tables/groups.h"
#include "query/query_window.h"

namespace {

std::u16string_view toView(QStringView text) {
    return {text.utf16(), static_cast<std::size_t>(text.size())};
}

QString toQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
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
    const std::u16string_view key = toView(character);
    QueryResult result{QString::fromUtf16(kNoWubiCode), QString()};
    for (const Group& group : allGroups()) {
        if (const std::u16string_view code = group.lookupWubiCode(key); !code.empty()) {
            result.wubi = toQString(code);
            break;
        }
    }
    for (const Group& group : allGroups()) {
        if (!group.lookupPinyin) continue;
        if (const std::u16string_view syllable = group.lookupPinyin(key); !syllable.empty()) {
            result.pinyin = toQString(syllable);
            break;
        }
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
