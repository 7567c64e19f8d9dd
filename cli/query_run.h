// SPDX-License-Identifier: GPL-3.0-or-later
// The per-line loop: answers the TEXT arguments or the lines of standard input as they arrive.
#pragma once

#include <string_view>
#include <vector>

#include "cli/output.h"
#include "cli/query_printer.h"

enum class QueryMode {
    firstCharacter,  // one answer per text: its first character
    eachCharacter,   // one answer per character of every text
};

// Answers every text in `texts` in order, in `format`, reporting each one that is not valid UTF-8
// on standard error. Stops early once `output` is no longer open. Returns false when a text was not
// valid UTF-8.
[[nodiscard]] bool answerTexts(const std::vector<std::string_view>& texts, QueryMode mode,
                               AnswerFormat format, StandardOutput& output);

// Answers each line of standard input as soon as it is complete (each character as soon as it
// is read, in eachCharacter mode), reporting invalid lines and a failed read on standard error.
// Stops early once `output` is no longer open. Returns false when a line was not valid UTF-8
// or reading failed.
[[nodiscard]] bool answerStandardInput(QueryMode mode, AnswerFormat format, StandardOutput& output);
