// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/query_printer.h"

#include <cstdlib>
#include <optional>

#include "cli/character_fields.h"
#include "cli/json_text.h"
#include "tables/details.h"
#include "tables/phrases.h"
#include "tables/strokes.h"

namespace {

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

void appendAscii(std::u16string_view text, std::string& out) {
    char letters[CodeEntry::kMaxSyllableLength + CodeEntry::kMaxCodeLength];
    out.append(letters, putAscii(text, letters));
}

// Appends `readings` separated by commas.
void appendReadings(const std::vector<std::string_view>& readings, std::string& out) {
    const char* separator = "";
    for (std::string_view reading : readings) {
        out += separator;
        out += reading;
        separator = ", ";
    }
}

// Appends `readings` as a JSON array of strings.
void appendJsonReadings(const std::vector<std::string_view>& readings, std::string& out) {
    out += '[';
    const char* separator = "";
    for (std::string_view reading : readings) {
        out += separator;
        appendJsonString(reading, out);
        separator = ",";
    }
    out += ']';
}

bool inTables(const ChainAnswer& answer) { return answer.wubi != kNoWubiCode; }

void appendBlock(char32_t codePoint, const ChainAnswer& answer,
                 const details::CharacterDetails& found, std::string& out) {
    if (!isControl(codePoint)) {
        appendUtf8(codePoint, out);
        out += ' ';
    }
    appendCodePointName(codePoint, out);
    out += "\n  window:   ";
    if (!inTables(answer)) {
        out += "None! (not in the tables)";
    } else {
        appendAscii(answer.wubi, out);
        out += ' ';
        if (answer.pinyin.empty()) out += "(no pinyin)";
        appendAscii(answer.pinyin, out);
    }
    out += "\n  codes:    ";
    if (found.codes.empty()) out += "none";
    const char* separator = "";
    for (const details::CodeAtLevel& code : found.codes) {
        out += separator;
        out += code.code;
        out += " (";
        out += levelName(code.level);
        // A code that offers other characters first says where this one comes.
        if (code.candidate > 1) out += ", candidate " + std::to_string(code.candidate);
        out += ')';
        separator = ", ";
    }
    out += "\n  readings: ";
    if (found.readings.empty()) out += "none";
    appendReadings(found.readings, out);
    // Only the few characters without a modern reading have these: a line of their own.
    if (!found.historicalReadings.empty()) {
        out += "\n  historical readings: ";
        appendReadings(found.historicalReadings, out);
    }
    out += "\n  strokes:  ";
    appendStrokes(strokes::order(codePoint), out);
    out += "\n\n";
}

void appendJson(char32_t codePoint, const ChainAnswer& answer,
                const details::CharacterDetails& found, std::string& out) {
    out += '{';
    appendJsonCharacter(codePoint, out);
    // The tables' texts are letters, and "None!", which need no escaping.
    out += ",\"wubi\":\"";
    appendAscii(answer.wubi, out);
    out += "\",\"pinyin\":\"";
    appendAscii(answer.pinyin, out);
    out += inTables(answer) ? "\",\"inTables\":true" : "\",\"inTables\":false";
    out += ",\"codes\":[";
    const char* separator = "";
    for (const details::CodeAtLevel& code : found.codes) {
        out += separator;
        out += "{\"code\":";
        appendJsonString(code.code, out);
        out += ",\"level\":\"";
        out += levelName(code.level);
        out += "\",\"candidate\":";
        out += std::to_string(code.candidate);
        out += '}';
        separator = ",";
    }
    out += "],\"readings\":";
    appendJsonReadings(found.readings, out);
    out += ",\"historicalReadings\":";
    appendJsonReadings(found.historicalReadings, out);
    out += ',';
    appendJsonStrokes(strokes::order(codePoint), out);
    out += "}\n";
}

// A phrase's line of --code: the phrase, its code points separated by blanks, "phrase".
void appendPhraseLine(std::u32string_view phrase, std::string& out) {
    for (const char32_t character : phrase) appendUtf8(character, out);
    char separator = '\t';
    for (const char32_t character : phrase) {
        out += separator;
        appendCodePointName(character, out);
        separator = ' ';
    }
    out += "\tphrase\n";
}

// A phrase's object in the JSON of --code; `position` is its place among everything the code
// types.
void appendJsonPhrase(std::u32string_view phrase, std::size_t position, std::string& out) {
    out += "{\"phrase\":";
    appendJsonString(phrase, out);
    out += ",\"codePoints\":[";
    const char* pointSeparator = "";
    for (const char32_t character : phrase) {
        (out += pointSeparator) += '"';
        appendCodePointName(character, out);
        out += '"';
        pointSeparator = ",";
    }
    out += "],\"position\":";
    out += std::to_string(position);
    out += '}';
}

}  // namespace

void QueryPrinter::writeWithDetails(char32_t codePoint, StandardOutput& output) {
    const bool storable = codePoint < kStoredUnits;
    if (storable && m_storedAnswers && m_storedAnswers[codePoint].size != 0) {
        const StoredAnswer stored = m_storedAnswers[codePoint];
        output.write(std::string_view(m_answers).substr(stored.offset, stored.size));
        return;
    }
    // A character outside the BMP takes two code units: the empty text stands in for them, as
    // both are held nowhere.
    const char16_t unit = static_cast<char16_t>(codePoint);
    const ChainAnswer answer = lookupChains({&unit, storable ? 1u : 0u});
    // A character the details do not hold has no codes and no readings.
    const details::CharacterDetails found =
        details::lookup(codePoint).value_or(details::CharacterDetails{});
    const std::size_t offset = m_answers.size();
    if (m_format == AnswerFormat::block) {
        appendBlock(codePoint, answer, found, m_answers);
    } else {
        appendJson(codePoint, answer, found, m_answers);
    }
    const std::size_t size = m_answers.size() - offset;
    output.write(std::string_view(m_answers).substr(offset, size));
    if (!storable) {
        m_answers.resize(offset);
        return;
    }
    if (!m_storedAnswers && offset != 0) {
        m_storedAnswers.reset(
            static_cast<StoredAnswer*>(std::calloc(kStoredUnits, sizeof(StoredAnswer))));
    }
    if (m_storedAnswers) {
        m_storedAnswers[codePoint] = {static_cast<std::uint32_t>(offset),
                                      static_cast<std::uint32_t>(size)};
    }
}

void QueryPrinter::dump(StandardOutput& output) {
    for (const Group& group : allGroups()) {
        for (const CodeEntry& row : group.rows()) {
            char* out = output.reserve(32);
            *out++ = group.letter;
            *out++ = '\t';
            out = putUtf8(row.character, out);
            *out++ = '\t';
            out = putAscii(row.wubiCode(), out);
            *out++ = '\t';
            out = putAscii(row.syllable(), out);
            *out++ = '\n';
            output.commit(out);
        }
    }
}

void QueryPrinter::offersOfCode(std::string_view code, bool json, StandardOutput& output) {
    std::string out;
    std::string phraseObjects;  // the JSON array of the phrases follows the characters'
    if (json) {
        out += "{\"code\":";
        appendJsonString(code, out);
        out += ",\"characters\":[";
    }
    const char* separator = "";
    std::size_t position = 0;
    for (const phrases::Offer& offer : phrases::offersOfCode(code)) {
        ++position;
        if (offer.text.size() > 1 && json) {
            if (!phraseObjects.empty()) phraseObjects += ',';
            appendJsonPhrase(offer.text, position, phraseObjects);
            continue;
        }
        if (offer.text.size() > 1) {
            appendPhraseLine(offer.text, out);
            continue;
        }
        const char32_t character = offer.text.front();
        if (json) {
            out += separator;
            out += '{';
            appendJsonCharacter(character, out);
            out += ",\"level\":\"";
            out += levelName(offer.level);
            out += "\"}";
            separator = ",";
            continue;
        }
        appendUtf8(character, out);
        out += '\t';
        appendCodePointName(character, out);
        out += '\t';
        out += levelName(offer.level);
        out += '\n';
    }
    if (json) ((out += "],\"phrases\":[") += phraseObjects) += "]}\n";
    output.write(out);
}
