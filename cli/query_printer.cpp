// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/query_printer.h"

#include <QStringView>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>

#include "query/character_details.h"
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

void appendCodePoint(char32_t codePoint, std::string& out) {
    char name[12];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    out += name;
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

std::string_view levelName(details::CodeLevel level) {
    switch (level) {
        case details::CodeLevel::Simple1:
            return "simple1";
        case details::CodeLevel::Simple2:
            return "simple2";
        case details::CodeLevel::Simple3:
            return "simple3";
        case details::CodeLevel::Full:
            return "full";
        case details::CodeLevel::Code2:
            return "code2";
        case details::CodeLevel::Code3:
            return "code3";
    }
    return {};
}

struct ShortEscape {
    unsigned char byte;
    std::string_view escape;
};

constexpr ShortEscape kShortEscapes[] = {
    {'"', "\\\""}, {'\\', "\\\\"}, {'\b', "\\b"}, {'\f', "\\f"},
    {'\n', "\\n"}, {'\r', "\\r"},  {'\t', "\\t"},
};

// Appends `text`, valid UTF-8, as a JSON string. Besides what JSON requires, DEL, the C1
// controls and the two Unicode line separators are escaped too, so that no reader of the line
// sees a control character or a line break in it.
void appendJsonString(std::string_view text, std::string& out) {
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        const auto third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0u;
        std::optional<unsigned> escaped;  // the code point to write as \uXXXX
        if (const auto it = std::ranges::find(kShortEscapes, byte, &ShortEscape::byte);
            it != std::end(kShortEscapes)) {
            out += it->escape;
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) {
            escaped = byte;
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            escaped = next;
            i += 1;
        } else if (byte == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9)) {
            escaped = 0x2000 | (third & 0x3F);
            i += 2;
        }
        if (!escaped) {
            out += static_cast<char>(byte);
            continue;
        }
        char unit[8];
        std::snprintf(unit, sizeof unit, "\\u%04x", *escaped);
        out += unit;
    }
    out += '"';
}

void appendJsonString(const QString& text, std::string& out) {
    appendJsonString(text.toStdString(), out);
}

void appendJsonCharacter(char32_t codePoint, std::string& out) {
    std::string character;
    appendUtf8(codePoint, character);
    out += "\"character\":";
    appendJsonString(character, out);
    out += ",\"codePoint\":\"";
    appendCodePoint(codePoint, out);
    out += '"';
}

void appendBlock(char32_t codePoint, const QueryResult& result,
                 const details::CharacterDetails& found, std::string& out) {
    if (!isControl(codePoint)) {
        appendUtf8(codePoint, out);
        out += ' ';
    }
    appendCodePoint(codePoint, out);
    out += "\n  window:   ";
    if (result.wubi == QStringView(kNoWubiCode)) {
        out += "None! (not in the tables)";
    } else {
        out += result.wubi.toStdString();
        out += result.pinyin.isEmpty() ? " (no pinyin)" : " " + result.pinyin.toStdString();
    }
    out += "\n  codes:    ";
    if (found.codes.empty()) out += "none";
    const char* separator = "";
    for (const details::CodeAtLevel& code : found.codes) {
        out += separator;
        out += code.code;
        out += " (";
        out += levelName(code.level);
        out += ')';
        separator = ", ";
    }
    out += "\n  readings: ";
    if (found.readings.empty()) out += "none";
    separator = "";
    for (std::string_view reading : found.readings) {
        out += separator;
        out += reading;
        separator = ", ";
    }
    out += "\n\n";
}

void appendJson(char32_t codePoint, const QueryResult& result,
                const details::CharacterDetails& found, std::string& out) {
    out += '{';
    appendJsonCharacter(codePoint, out);
    out += ",\"wubi\":";
    appendJsonString(result.wubi, out);
    out += ",\"pinyin\":";
    appendJsonString(result.pinyin, out);
    out += result.wubi == QStringView(kNoWubiCode) ? ",\"inTables\":false" : ",\"inTables\":true";
    out += ",\"codes\":[";
    const char* separator = "";
    for (const details::CodeAtLevel& code : found.codes) {
        out += separator;
        out += "{\"code\":";
        appendJsonString(code.code, out);
        out += ",\"level\":\"";
        out += levelName(code.level);
        out += "\"}";
        separator = ",";
    }
    out += "],\"readings\":[";
    separator = "";
    for (std::string_view reading : found.readings) {
        out += separator;
        appendJsonString(reading, out);
        separator = ",";
    }
    out += "]}\n";
}

void appendUtf16(std::u16string_view text, std::string& out) {
    out += QStringView(text).toUtf8().toStdString();
}

}  // namespace

void QueryPrinter::make(char32_t codePoint, std::string& out) const {
    out.clear();
    char16_t units[2];
    const QStringView character = toUtf16(codePoint, units);
    const QueryResult result = queryCharacter(character);
    if (m_format == AnswerFormat::line) {
        if (isControl(codePoint)) {
            appendCodePoint(codePoint, out);
        } else {
            appendUtf8(codePoint, out);
        }
        out += '\t';
        out += result.wubi.toStdString();
        out += '\t';
        out += result.pinyin.toStdString();
        out += '\n';
        return;
    }
    // A character the details do not hold has no codes and no readings.
    const details::CharacterDetails found =
        detailsOf(character).value_or(details::CharacterDetails{});
    if (m_format == AnswerFormat::block) {
        appendBlock(codePoint, result, found, out);
    } else {
        appendJson(codePoint, result, found, out);
    }
}

std::string_view QueryPrinter::answer(char32_t codePoint) {
    if (codePoint >= 0x10000) {
        make(codePoint, m_answer);
        return m_answer;
    }
    if (!m_answerByCodeUnit) {
        if (!m_answeredOnce) {
            m_answeredOnce = true;
            make(codePoint, m_answer);
            return m_answer;
        }
        m_answerByCodeUnit = std::make_unique<std::array<std::string, 0x10000>>();
    }
    std::string& cached = (*m_answerByCodeUnit)[codePoint];
    if (cached.empty()) make(codePoint, cached);
    return cached;
}

std::string_view QueryPrinter::emptyAnswer() const {
    return m_format == AnswerFormat::json ? "null\n" : "\n";
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

void QueryPrinter::appendCharactersOfCode(std::string_view code, bool json, std::string& out) {
    if (json) {
        out += "{\"code\":";
        appendJsonString(code, out);
        out += ",\"characters\":[";
    }
    const char* separator = "";
    for (const details::CharacterAtLevel& found : charactersOfCode(code)) {
        if (json) {
            out += separator;
            out += '{';
            appendJsonCharacter(found.character, out);
            out += ",\"level\":\"";
            out += levelName(found.level);
            out += "\"}";
            separator = ",";
            continue;
        }
        appendUtf8(found.character, out);
        out += '\t';
        appendCodePoint(found.character, out);
        out += '\t';
        out += levelName(found.level);
        out += '\n';
    }
    if (json) out += "]}\n";
}
