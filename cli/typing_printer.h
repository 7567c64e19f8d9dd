// SPDX-License-Identifier: GPL-3.0-or-later
// --typing: the shortest way to type each TEXT or line, piece by piece as lines or JSON lines,
// and the keys it saves.
#pragma once

#include <span>

#include "cli/output.h"
#include "cli/text_run.h"
#include "tables/typing_coach.h"

class TypingPrinter final : public TextAnswerer {
public:
    TypingPrinter(bool json, StandardOutput& output);

    void characters(std::span<const char32_t> codePoints) override;
    // Ends the pieces before the run, then answers it with an empty line (null in JSON).
    void invalidBytes() override;
    // Ends the pieces: no word spans a line end.
    void lineEnd() override;

    // Writes what is held back, then the summary of everything fed: "keys: shortest N, full N,
    // pinyin N" and "left out: untyped N, no reading N", or one JSON line.
    void writeSummary();

private:
    void writePiece(const phrases::TypingPiece& piece);
    void writeJsonPiece(const phrases::TypingPiece& piece);

    bool m_json;
    StandardOutput& m_output;
    phrases::TypingCoach m_coach;
};
