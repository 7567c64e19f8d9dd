// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/options.h"

#include <cstdio>

namespace {

// An option that switches something on; a new one needs a row here and a line in the help.
struct Flag {
    std::string_view name;
    std::string_view shortName;
    bool Options::*member;
};

constexpr Flag kFlags[] = {
    {"--each", {}, &Options::each},
    {"--dump", {}, &Options::dump},
    {"--help", "-h", &Options::help},
    {"--version", {}, &Options::version},
};

constexpr std::string_view kUsage =
    "usage: tinglan-query [--each] [--] [TEXT...]\n"
    "       tinglan-query --dump | -h | --help | --version\n";

constexpr std::string_view kHelp =
    "Shows the Wubi 86 code and the toneless pinyin of Chinese characters.\n"
    "\n"
    "For each TEXT, one line: its first character, a tab, the Wubi code (or None!), a tab, the\n"
    "pinyin (or nothing), a line feed. An empty TEXT gives an empty line. Without TEXT, each\n"
    "line of standard input is one query; a line ends at LF or CR LF, and a last line without\n"
    "an end counts too. Lines are answered as they arrive: when standard output is a terminal\n"
    "or a pipe, every answer is written out before the tool waits for more input.\n"
    "\n"
    "A control character (U+0000 to U+001F, U+007F to U+009F) is shown as its code point, such\n"
    "as U+0009 for a tab, so that every answer is one line of three fields. A byte order mark\n"
    "(U+FEFF) is a character like any other, also at the start of a TEXT or of the input.\n"
    "\n"
    "Input and output are UTF-8. A TEXT or line that is not valid UTF-8 is reported on standard\n"
    "error, answered with an empty line, and makes the exit status 1. With --each, the\n"
    "characters around the invalid bytes are answered as well, and each run of invalid bytes is\n"
    "answered with one empty line in its place.\n"
    "\n"
    "  --each       query every character of each TEXT or line, one output line each; an empty\n"
    "               TEXT or line gives no output, and a line end (LF or CR LF) inside a TEXT\n"
    "               separates as on standard input and is not queried\n"
    "  --dump       print every row of the code tables: group, character, code, pinyin\n"
    "  -h, --help   show this help\n"
    "  --version    show the version\n"
    "  --           end the options: every later argument is a TEXT, even one that starts\n"
    "               with - (a lone - is always a TEXT)\n"
    "\n"
    "Exit status: 0 when every TEXT or line was answered; 1 when one was not valid UTF-8, or\n"
    "when reading standard input or writing standard output failed (reported in one line that\n"
    "names the error); 2 for an unknown option, or --dump with --each or a TEXT. When the\n"
    "reader of standard output closes it (as head does), the tool stops without a message and\n"
    "its exit status covers what was answered until then.\n";

const Flag* findFlag(std::string_view argument) {
    for (const Flag& flag : kFlags) {
        if (argument == flag.name || (!flag.shortName.empty() && argument == flag.shortName))
            return &flag;
    }
    return nullptr;
}

}  // namespace

std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            options.texts.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (const Flag* flag = findFlag(argument)) {
            options.*(flag->member) = true;
        } else {
            std::fprintf(stderr, "tinglan-query: unknown option %s\n", argv[i]);
            return std::nullopt;
        }
    }
    if (options.dump && (options.each || !options.texts.empty())) {
        std::fputs("tinglan-query: --dump takes neither --each nor a TEXT\n", stderr);
        return std::nullopt;
    }
    return options;
}

std::string_view usageText() { return kUsage; }

std::string_view helpText() { return kHelp; }
