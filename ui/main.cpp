// SPDX-License-Identifier: GPL-3.0-or-later
// tinglan: the program's entry, which shows the one window `frmmain`.
#include <QApplication>
#include <QByteArray>
#include <csignal>
#include <cstdio>

#include "settings/file_locations.h"
#include "settings/startup.h"
#include "ui/frmmain.h"

namespace {

// Qt aborts with a core dump when its X11 platform finds no display; say so plainly instead.
bool displayReachable() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool x11 = platform.isEmpty() || platform == "xcb" || platform.startsWith("xcb:");
    return !x11 || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!displayReachable()) {
        std::fputs("tinglan: no display available (set DISPLAY or WAYLAND_DISPLAY)\n", stderr);
        return 1;
    }
    // At a file size limit a write must fail with EFBIG, which the file code handles, instead
    // of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    // Wayland compositors find the task-bar icon through the desktop file of this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.tinglan.Tinglan"));

    // Decided once: every later read and write of the two files uses these paths.
    frmmain window(resolveFileLocations(executableDirectory()));
    Form_Load(window, window.files().settingsFile);
    window.show();
    return application.exec();
}
