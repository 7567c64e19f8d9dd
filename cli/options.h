// SPDX-License-Identifier: GPL-3.0-or-later
// The tool's command line: its options, their parsing, and the usage and help texts.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

struct Options {
    bool each = false;
    bool all = false;
    bool json = false;
    bool word = false;    // each TEXT or line is a word, answered with its codes
    bool typing = false;  // each TEXT or line is split into pieces to type
    bool dump = false;
    bool help = false;
    bool version = false;
    std::optional<std::string_view> code;     // the CODE of --code, checked to be a Wubi code
    std::optional<std::string_view> strokes;  // the SEQ of --strokes, checked to be strokes
    std::vector<std::string_view> texts;      // the TEXT arguments, in order
};

// Returns the options of `argv`, or nothing after saying on standard error in one line why not:
// an argument is not understood or the options do not go together (the usage lines follow), or
// the CODE of --code is no Wubi code, or the SEQ of --strokes no strokes.
std::optional<Options> parseArguments(int argc, char** argv);

// Returns the usage lines, each ending in LF.
std::string_view usageText();

// Returns the help that follows the usage lines: what the tool does, every option, exit status.
std::string_view helpText();
