// SPDX-License-Identifier: GPL-3.0-or-later
// Moving a top-level window into or out of the window manager's band of windows kept above others.
#pragma once

class QWidget;

// Puts `window` into the topmost band when `onTop`, out of it otherwise, then raises and activates
// it when it is shown; it keeps its position and size and is never hidden or recreated for this.
void setStaysOnTop(QWidget& window, bool onTop);
