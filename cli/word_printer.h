// SPDX-License-Identifier: GPL-3.0-or-later
// --word: the Wubi 86 codes of each TEXT or line taken as a word, as lines or JSON lines.
#pragma once

#include <span>
#include <string>

#include "cli/output.h"
#include "cli/text_run.h"

class WordPrinter final : public TextAnswerer {
public:
    WordPrinter(bool json, StandardOutput& output) : m_json(json), m_output(output) {}

    void characters(std::span<const char32_t> codePoints) override;
    void invalidBytes() override;
    // Answers the word that the line or TEXT holds: a line per code ("word TAB code TAB listed
    // or derived TAB position"), "word TAB None!" when a character has no code, an empty line
    // for an empty or invalid word; or one JSON line (null for an empty or invalid word).
    void lineEnd() override;

private:
    bool m_json;
    StandardOutput& m_output;
    std::u32string m_word;
    bool m_invalid = false;
};
