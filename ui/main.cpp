// SPDX-License-Identifier: GPL-3.0-or-later
// tinglan: the program's entry, which shows the one window `frmmain`.
#include <QApplication>
#include <csignal>

#include "common/app_info.h"
#include "settings/file_locations.h"
#include "settings/startup.h"
#include "ui/application.h"
#include "ui/command_line.h"
#include "ui/frmmain.h"

int main(int argc, char* argv[]) {
    if (const auto status = handleCommandLine(argc, argv)) {
        return *status;
    }
    // At a file size limit a write must fail with EFBIG, which the file code handles, instead
    // of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const auto application = createApplication(argv[0]);
    // Wayland compositors find the task-bar icon through the desktop file of this name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));

    // Decided once: every later read and write of the two files uses these paths.
    frmmain window(resolveFileLocations(executableDirectory()));
    Form_Load(window, window.files().settingsFile);
    window.show();
    return application->exec();
}
