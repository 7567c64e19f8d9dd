// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own command line: --help and --version; nothing reaches the toolkit.
#pragma once

#include <optional>

// Handles the arguments after the program name. Returns nothing when there are none (the window
// is to be shown); otherwise the exit status after printing: 0 after the help or the version on
// standard output for `--help` or `--version` (1 if that output fails), 2 after a one-line usage
// error on standard error for anything else.
std::optional<int> handleCommandLine(int argc, const char* const argv[]);
