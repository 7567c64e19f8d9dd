// SPDX-License-Identifier: GPL-3.0-or-later
// Formats query results as the command-line tool's UTF-8 answers: tab-separated lines, blocks
// of every code and reading, or JSON lines.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

enum class AnswerFormat {
    line,   // character TAB wubi TAB pinyin, as the window answers
    block,  // --all: every code and reading, for a person
    json,   // --json: everything, for scripts
};

class QueryPrinter {
public:
    explicit QueryPrinter(AnswerFormat format) : m_format(format) {}

    // Returns the answer for `codePoint` in the printer's format, ending in LF. In the line
    // format it is "character TAB wubi TAB pinyin LF", exactly as the window would answer; there
    // and in the block format a control character is written as its code point ("U+0009"), so
    // that the answer keeps its lines. The view is valid until the next call.
    std::string_view answer(char32_t codePoint);

    // Returns the answer to an empty or invalid text: an empty line ("null" in JSON).
    std::string_view emptyAnswer() const;

    // Appends every row of every group in table order: letter, character, code, syllable.
    static void appendDump(std::string& out);

    // Appends the characters that `code` types, in offer order: a line of character, code point
    // and level each, or one JSON line for all of them.
    static void appendCharactersOfCode(std::string_view code, bool json, std::string& out);

private:
    void make(char32_t codePoint, std::string& out) const;

    AnswerFormat m_format;
    std::string m_answer;  // the last answer made without the cache
    bool m_answeredOnce = false;
    // Answers of BMP characters, made from the second query on: a long text repeats few distinct
    // characters, and a single query should not pay for the table.
    std::unique_ptr<std::array<std::string, 0x10000>> m_answerByCodeUnit;
};
