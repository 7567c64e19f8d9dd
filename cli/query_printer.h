// SPDX-License-Identifier: GPL-3.0-or-later
// Formats query results as the command-line tool's tab-separated UTF-8 lines.
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <memory>
#include <string>

class QueryPrinter {
public:
    QueryPrinter();

    // Appends "character TAB wubi TAB pinyin LF" for `text` cut to its first character, or a bare
    // LF when `text` is empty, exactly as the window would answer it.
    void appendQuery(const QString& text, std::string& out);

    // Appends one query line for every character of `text` (surrogate pairs count as one).
    void appendEachCharacter(QStringView text, std::string& out);

    // Appends every row of every group in table order: letter, character, code, syllable.
    static void appendDump(std::string& out);

private:
    void appendCharacter(QStringView character, std::string& out);

    // Lines of BMP characters, made on first use: a long text repeats few distinct characters.
    std::unique_ptr<std::array<std::string, 0x10000>> m_lineByCodeUnit;
};
