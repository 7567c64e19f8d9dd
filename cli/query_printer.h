// SPDX-License-Identifier: GPL-3.0-or-later
// Formats query results as the command-line tool's tab-separated UTF-8 lines.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

class QueryPrinter {
public:
    // Returns "character TAB wubi TAB pinyin LF" for `codePoint`, exactly as the window would
    // answer it; a control character is written as its code point ("U+0009"), so the line
    // stays one line of three fields. The view is valid until the next call.
    std::string_view answerLine(char32_t codePoint);

    // Appends every row of every group in table order: letter, character, code, syllable.
    static void appendDump(std::string& out);

private:
    std::string m_line;  // the last line made without the cache
    bool m_answeredOnce = false;
    // Lines of BMP characters, made from the second query on: a long text repeats few distinct
    // characters, and a single query should not pay for the table.
    std::unique_ptr<std::array<std::string, 0x10000>> m_lineByCodeUnit;
};
