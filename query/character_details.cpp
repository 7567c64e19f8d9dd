// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/character_details.h"

#include <QStringList>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/details.h"
#include "tables/strokes.h"

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

std::optional<char32_t> codePointOf(QStringView character) {
    if (character.size() == 1 && !character[0].isSurrogate()) return character[0].unicode();
    if (character.size() == 2 && character[0].isHighSurrogate() && character[1].isLowSurrogate())
        return QChar::surrogateToUcs4(character[0], character[1]);
    return std::nullopt;
}

QStringList codeLines(const details::CharacterDetails& character) {
    QStringList lines;
    for (const details::CodeAtLevel& code : character.codes) {
        QString line = levelLabel(code.level) + u'：' + fromUtf8(code.code);
        // A code that offers other characters first: where a learner finds this one.
        if (code.candidate > 1) line += QStringLiteral("（第%1位）").arg(code.candidate);
        lines << line;
    }
    return lines;
}

// Adds the line "label：a、b" to `lines`, or nothing when there are no readings.
void addReadingsLine(const QString& label, const std::vector<std::string_view>& readings,
                     QStringList& lines) {
    if (readings.empty()) return;
    QStringList texts;
    for (std::string_view reading : readings) texts << fromUtf8(reading);
    lines << label + u'：' + texts.join(u'、');
}

}  // namespace

ResultToolTips resultToolTips(QStringView character) {
    const std::optional<char32_t> codePoint = codePointOf(character);
    if (!codePoint) return {};
    // The details know far more characters than the tables, and the stroke data more still: a
    // character that shows "None!" may have codes, readings and strokes.
    const std::optional<details::CharacterDetails> found = details::lookup(*codePoint);
    QStringList wubiLines = found ? codeLines(*found) : QStringList();
    const std::string order = strokes::order(*codePoint);
    if (!order.empty()) {
        wubiLines << QStringLiteral("笔画：%1（%2）")
                         .arg(order.size())
                         .arg(fromUtf8(strokes::glyphs(order)));
    }
    QStringList pinyinLines;
    if (found) {
        addReadingsLine(QStringLiteral("读音"), found->readings, pinyinLines);
        addReadingsLine(QStringLiteral("旧读"), found->historicalReadings, pinyinLines);
    }
    return {wubiLines.join(u'\n'), pinyinLines.join(u'\n')};
}
