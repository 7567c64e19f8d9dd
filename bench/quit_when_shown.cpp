// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into a Qt Widgets program (LD_PRELOAD) by bench/window_start_bench.py, so that its
// start-up can be timed: it stands in for QApplication::exec(), the program's event loop, and
// returns once every shown window is on screen and painted, as the program ends after.
#include <QApplication>
#include <QWindow>
#include <algorithm>

int QApplication::exec() {
    const auto allShown = [] {
        const QWindowList windows = QGuiApplication::topLevelWindows();
        return std::ranges::any_of(windows, &QWindow::isVisible) &&
               std::ranges::all_of(windows, [](const QWindow* window) {
                   return !window->isVisible() || window->isExposed();
               });
    };
    while (!allShown()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // The paint that the exposure asked for.
    QCoreApplication::processEvents();
    return 0;
}
