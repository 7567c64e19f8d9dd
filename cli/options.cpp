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
    "For each TEXT, one line: its first character, a tab, the Wubi code (or None!),\n"
    "a tab, the pinyin (or nothing), a line feed. An empty TEXT gives an empty line.\n"
    "Without TEXT, each line of standard input is one query. A line ends at LF, at\n"
    "CR LF or at the end of the input (a CR just before that end is dropped). Lines\n"
    "are answered as they arrive: when standard output is a terminal or a pipe,\n"
    "every answer is written out before the tool waits for more input.\n"
    "\n"
    "A control character (U+0000 to U+001F, U+007F to U+009F) is shown as its code\n"
    "point, such as U+0009 for a tab, so that every answer is one line of three\n"
    "fields. A byte order mark (U+FEFF) is a character like any other, also at the\n"
    "start of a TEXT or of the input.\n"
    "\n"
    "Input and output are UTF-8. A TEXT or line that is not valid UTF-8 is reported\n"
    "once on standard error, answered with an empty line, and makes the exit status\n"
    "1. With --each, its valid characters are answered as well, and each run of\n"
    "invalid bytes is answered with one empty line in its place.\n"
    "\n"
    "Options may stand anywhere before --:\n"
    "  --each      query every character of each TEXT or line, one output line each;\n"
    "              an empty TEXT or line gives no output, and a line end inside a\n"
    "              TEXT separates as on standard input and is not queried\n"
    "  --dump      print every row of the code tables in table order: group letter,\n"
    "              character, code and pinyin, separated by tabs\n"
    "  -h, --help  show this help\n"
    "  --version   show the version\n"
    "  --          end the options: every later argument is a TEXT, even one that\n"
    "              starts with - (a lone - is always a TEXT)\n"
    "\n"
    "Exit status: 0 when every TEXT or line was answered; 1 when one was not valid\n"
    "UTF-8, or when reading standard input or writing standard output failed (said\n"
    "in one line that names the error); 2 for an unknown option, or for --dump with\n"
    "--each or a TEXT (with the usage on standard error). When the reader of\n"
    "standard output closes it, as head does, the tool stops without a message, and\n"
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
