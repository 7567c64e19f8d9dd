// SPDX-License-Identifier: GPL-3.0-or-later
// Writes query results as the command-line tool's UTF-8 answers: tab-separated lines, blocks
// of every code and reading, or JSON lines.
#pragma once

#include <string>
#include <string_view>

#include "cli/output.h"
#include "cli/utf8_text.h"
#include "tables/groups.h"

enum class AnswerFormat {
    line,   // character TAB wubi TAB pinyin, as the window answers
    block,  // --all: every code and reading, for a person
    json,   // --json: everything, for scripts
};

class QueryPrinter {
public:
    explicit QueryPrinter(AnswerFormat format) : m_format(format) {}

    // Writes the answer for `codePoint` in the printer's format, ending in LF. In the line
    // format it is "character TAB wubi TAB pinyin LF", exactly as the window would answer; there
    // and in the block format a control character is written as its code point ("U+0009"), so
    // that the answer keeps its lines.
    void answer(char32_t codePoint, StandardOutput& output) {
        if (m_format == AnswerFormat::line) {
            writeLine(codePoint, output);
        } else {
            writeWithDetails(codePoint, output);
        }
    }

    // Writes the answer to an empty or invalid text: an empty line ("null" in JSON).
    void emptyAnswer(StandardOutput& output) const {
        output.write(m_format == AnswerFormat::json ? "null\n" : "\n");
    }

    // Writes every row of every group in table order: letter, character, code, syllable.
    static void dump(StandardOutput& output);

    // Writes the characters that `code` types, in offer order: a line of character, code point
    // and level each, or one JSON line for all of them.
    static void charactersOfCode(std::string_view code, bool json, StandardOutput& output);

private:
    // Inline, as it answers every character of a long text.
    static void writeLine(char32_t codePoint, StandardOutput& output) {
        // A character outside the BMP is held nowhere, like U+0000.
        const ChainAnswer answer = lookupChains(codePoint < 0x10000 ? char16_t(codePoint) : u'\0');
        char* out = output.reserve(32);
        out = isControl(codePoint) ? putCodePointName(codePoint, out) : putUtf8(codePoint, out);
        *out++ = '\t';
        out = putAscii(answer.wubi, out);
        *out++ = '\t';
        out = putAscii(answer.pinyin, out);
        *out++ = '\n';
        output.commit(out);
    }

    void writeWithDetails(char32_t codePoint, StandardOutput& output);

    AnswerFormat m_format;
    std::string m_text;  // the block or JSON answer being made, kept for its capacity
};
