// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/stay_on_top.h"

#include <QWidget>
#include <QWindow>

void setStaysOnTop(QWidget& window, bool onTop) {
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    // QWidget::setWindowFlags would hide the window and map it afresh (it moves and flickers).
    // The widget only records the flags here; the native window, if there is one, gets them
    // directly: on X11 a mapped window asks the window manager for _NET_WM_STATE_ABOVE.
    window.overrideWindowFlags(flags);
    if (QWindow* const handle = window.windowHandle()) {
        handle->setFlags(flags);
    }
    if (window.isVisible()) {
        window.raise();
        window.activateWindow();
    }
}
