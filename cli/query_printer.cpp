// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/query_printer.h"

#include "query/character_query.h"
#include "tables/groups.h"

namespace {

void appendUtf16(std::u16string_view text, std::string& out) {
    out += QStringView(text).toUtf8().toStdString();
}

std::string queryLine(QStringView character) {
    const QueryResult result = queryCharacter(character);
    std::string line = character.toUtf8().toStdString();
    line += '\t';
    line += result.wubi.toStdString();
    line += '\t';
    line += result.pinyin.toStdString();
    line += '\n';
    return line;
}

}  // namespace

QueryPrinter::QueryPrinter()
    : m_lineByCodeUnit(std::make_unique<std::array<std::string, 0x10000>>()) {}

void QueryPrinter::appendQuery(const QString& text, std::string& out) {
    if (text.isEmpty()) {
        out += '\n';
        return;
    }
    appendCharacter(cutToFirstCharacter(text), out);
}

void QueryPrinter::appendEachCharacter(QStringView text, std::string& out) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate();
        appendCharacter(text.mid(i, pair ? 2 : 1), out);
        if (pair) ++i;
    }
}

void QueryPrinter::appendCharacter(QStringView character, std::string& out) {
    if (character.size() != 1) {
        out += queryLine(character);
        return;
    }
    std::string& line = (*m_lineByCodeUnit)[character[0].unicode()];
    if (line.empty()) line = queryLine(character);
    out += line;
}

void QueryPrinter::appendDump(std::string& out) {
    for (const Group& group : allGroups()) {
        for (const CodeEntry& row : group.rows()) {
            out += group.letter;
            out += '\t';
            appendUtf16({&row.character, 1}, out);
            out += '\t';
            appendUtf16(row.wubiCode, out);
            out += '\t';
            appendUtf16(row.syllable, out);
            out += '\n';
        }
    }
}
