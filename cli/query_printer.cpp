// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/query_printer.h"

#include <QStringView>
#include <cstdio>

#include "query/character_query.h"
#include "tables/groups.h"

namespace {

bool isControl(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

void appendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The query takes the character as UTF-16, as the window's input box holds it.
QStringView toUtf16(char32_t codePoint, char16_t (&units)[2]) {
    if (codePoint < 0x10000) {
        units[0] = static_cast<char16_t>(codePoint);
        return QStringView(units, 1);
    }
    units[0] = static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
    units[1] = static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    return QStringView(units, 2);
}

void makeLine(char32_t codePoint, std::string& line) {
    line.clear();
    if (isControl(codePoint)) {
        char name[8];
        std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
        line += name;
    } else {
        appendUtf8(codePoint, line);
    }
    char16_t units[2];
    const QueryResult result = queryCharacter(toUtf16(codePoint, units));
    line += '\t';
    line += result.wubi.toStdString();
    line += '\t';
    line += result.pinyin.toStdString();
    line += '\n';
}

void appendUtf16(std::u16string_view text, std::string& out) {
    out += QStringView(text).toUtf8().toStdString();
}

}  // namespace

std::string_view QueryPrinter::answerLine(char32_t codePoint) {
    if (codePoint >= 0x10000) {
        makeLine(codePoint, m_line);
        return m_line;
    }
    if (!m_lineByCodeUnit) {
        if (!m_answeredOnce) {
            m_answeredOnce = true;
            makeLine(codePoint, m_line);
            return m_line;
        }
        m_lineByCodeUnit = std::make_unique<std::array<std::string, 0x10000>>();
    }
    std::string& line = (*m_lineByCodeUnit)[codePoint];
    if (line.empty()) makeLine(codePoint, line);
    return line;
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
