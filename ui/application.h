// SPDX-License-Identifier: GPL-3.0-or-later
// Creating the application on its display: where the display cannot be opened, one line that
// names it instead of Qt's abort.
#pragma once

#include <memory>

class QApplication;

// Creates the application, giving Qt no argument but `programName`. Where no display is set, or
// the one set cannot be opened (no server, a malformed name, a missing platform plugin), prints
// one line naming it on standard error and ends the program with status 1.
std::unique_ptr<QApplication> createApplication(const char* programName);
