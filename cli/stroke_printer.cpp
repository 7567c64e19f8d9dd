// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/stroke_printer.h"

#include <optional>
#include <string>
#include <string_view>

#include "cli/character_fields.h"
#include "cli/json_text.h"
#include "tables/details.h"

namespace {

// What a line says besides the strokes: the first reading and the first, shortest code.
struct Facts {
    std::string_view reading;
    std::string_view code;
};

Facts factsOf(char32_t character) {
    const std::optional<details::CharacterDetails> found = details::lookup(character);
    if (!found) return {};
    return {found->readings.empty() ? std::string_view() : found->readings.front(),
            found->codes.empty() ? std::string_view() : found->codes.front().code};
}

void appendLine(char32_t character, std::string_view order, const Facts& facts, std::string& out) {
    appendUtf8(character, out);
    out += '\t';
    out += order;
    out += '\t';
    out += facts.reading;
    out += '\t';
    out += facts.code;
    out += '\n';
}

void appendJsonStringOrNull(std::string_view text, std::string& out) {
    if (text.empty()) {
        out += "null";
    } else {
        appendJsonString(text, out);
    }
}

void appendJsonLine(char32_t character, std::string_view order, const Facts& facts,
                    std::string& out) {
    out += '{';
    appendJsonCharacter(character, out);
    out += ',';
    appendJsonStrokes(order, out);
    out += ",\"reading\":";
    appendJsonStringOrNull(facts.reading, out);
    out += ",\"code\":";
    appendJsonStringOrNull(facts.code, out);
    out += "}\n";
}

}  // namespace

void printStrokeMatches(const strokes::Sequence& sequence, bool json, StandardOutput& output) {
    strokes::Matches matches(sequence);
    std::string line;
    // A reader waiting for the first lines (head, a person) gets them at once, and the many
    // lines of a short sequence still go out in few writes: written out after 1, 2, 4, 8, ...
    // lines, and whenever the output's buffer fills.
    std::size_t written = 0;
    std::size_t nextWriteOut = 1;
    while (output.isOpen()) {
        const std::optional<char32_t> character = matches.next();
        if (!character) break;
        const std::string order = strokes::order(*character);
        line.clear();
        if (json) {
            appendJsonLine(*character, order, factsOf(*character), line);
        } else {
            appendLine(*character, order, factsOf(*character), line);
        }
        output.write(line);
        if (++written == nextWriteOut) {
            output.flushIfInteractive();
            nextWriteOut *= 2;
        }
    }
}
