// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/command_line.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "common/app_info.h"

namespace {

constexpr std::string_view kHelp =
    "usage: tinglan [--help | --version]\n"
    "Shows the Wubi 86 code and the toneless pinyin of a typed Chinese character in a small\n"
    "window, and records each query in the history file.\n"
    "\n"
    "  --help     show this help\n"
    "  --version  show the version\n";

// Prints `text` on standard output; a full disk or a closed stream is an error, not success.
int printOut(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("tinglan: cannot write to standard output\n", stderr);
        return 1;
    }
    return 0;
}

}  // namespace

std::optional<int> handleCommandLine(int argc, const char* const argv[]) {
    if (argc <= 1) {
        return std::nullopt;
    }
    // Exactly one of the two options: anything else, Qt's own options included, is refused
    // rather than handed to the toolkit (-reverse would mirror the fixed layout).
    const std::string_view argument = argv[1];
    if (argc == 2 && argument == "--help") {
        return printOut(kHelp);
    }
    if (argc == 2 && argument == "--version") {
        return printOut(std::string("tinglan ") + kVersion + "\n");
    }
    const std::string_view refused =
        argument == "--help" || argument == "--version" ? std::string_view(argv[2]) : argument;
    std::fprintf(stderr, "tinglan: unknown argument '%.*s' (try 'tinglan --help')\n",
                 static_cast<int>(refused.size()), refused.data());
    return 2;
}
