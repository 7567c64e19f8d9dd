// SPDX-License-Identifier: GPL-3.0-or-later
// The character query of each TEXT or line: its first character, or each of its characters.
#pragma once

#include <span>

#include "cli/output.h"
#include "cli/query_printer.h"
#include "cli/text_run.h"

enum class QueryMode {
    firstCharacter,  // one answer per text: its first character
    eachCharacter,   // one answer per character of every text
};

// Answers texts character by character, in `format`: an invalid text with an empty answer
// (firstCharacter), or each invalid run with one in its place (eachCharacter).
class QueryAnswerer final : public TextAnswerer {
public:
    QueryAnswerer(QueryMode mode, AnswerFormat format, StandardOutput& output)
        : m_mode(mode), m_output(output), m_printer(format) {}

    void characters(std::span<const char32_t> codePoints) override;
    void invalidBytes() override;
    void lineEnd() override;

private:
    QueryMode m_mode;
    StandardOutput& m_output;
    QueryPrinter m_printer;
    bool m_lineInvalid = false;
    bool m_haveFirst = false;
    char32_t m_first = 0;
};
