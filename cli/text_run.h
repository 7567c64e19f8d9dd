// SPDX-License-Identifier: GPL-3.0-or-later
// The per-line loop of the modes that answer text: feeds the TEXT arguments, or the lines of
// standard input as they arrive, decoded, to an answerer, and reports what is not valid UTF-8.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "cli/output.h"

// What a mode answers with; it writes its answers to the output it was given.
class TextAnswerer {
public:
    virtual ~TextAnswerer() = default;
    // Takes the next decoded characters of the current TEXT or line.
    virtual void characters(std::span<const char32_t> codePoints) = 0;
    // Takes a run of bytes that is not UTF-8, already reported on standard error.
    virtual void invalidBytes() = 0;
    // Ends the current line: at every line end, and at the end of each TEXT.
    virtual void lineEnd() = 0;
};

// Feeds each of `texts` to `answerer` in order, or standard input when there is none, and
// reports each TEXT or line that is not valid UTF-8 on standard error, once. With
// `splitTexts`, a line end inside a TEXT ends a line there, as on standard input, and is no
// character. Input is read as it arrives and the output written out before each wait for more
// (where someone may be reading it); stops early once `output` is no longer open. Returns false
// when a TEXT or line was not valid UTF-8 or reading failed (said in one line).
[[nodiscard]] bool answerInput(const std::vector<std::string_view>& texts, bool splitTexts,
                               TextAnswerer& answerer, StandardOutput& output);
