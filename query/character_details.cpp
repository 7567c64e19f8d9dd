// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/character_details.h"

#include <QStringList>
#include <string_view>

namespace {

QString levelLabel(details::CodeLevel level) {
    switch (level) {
        case details::CodeLevel::Simple1:
            return QStringLiteral("一级简码");
        case details::CodeLevel::Simple2:
            return QStringLiteral("二级简码");
        case details::CodeLevel::Simple3:
            return QStringLiteral("三级简码");
        case details::CodeLevel::Full:
            return QStringLiteral("全码");
        case details::CodeLevel::Code2:
            return QStringLiteral("二码");
        case details::CodeLevel::Code3:
            return QStringLiteral("三码");
    }
    return {};
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::optional<details::CharacterDetails> detailsOf(QStringView character) {
    char32_t codePoint = 0;
    if (character.size() == 1 && !character[0].isSurrogate()) {
        codePoint = character[0].unicode();
    } else if (character.size() == 2 && character[0].isHighSurrogate() &&
               character[1].isLowSurrogate()) {
        codePoint = QChar::surrogateToUcs4(character[0], character[1]);
    } else {
        return std::nullopt;
    }
    return details::lookup(codePoint);
}

QString codesByLevelText(const details::CharacterDetails& character) {
    QStringList lines;
    for (const details::CodeAtLevel& code : character.codes)
        lines << levelLabel(code.level) + u'：' + fromUtf8(code.code);
    return lines.join(u'\n');
}

QString readingsText(const details::CharacterDetails& character) {
    if (character.readings.empty()) return {};
    QStringList readings;
    for (std::string_view reading : character.readings) readings << fromUtf8(reading);
    return QStringLiteral("读音：") + readings.join(u'、');
}
