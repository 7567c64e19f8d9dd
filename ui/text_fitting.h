// SPDX-License-Identifier: GPL-3.0-or-later
// Fitting a line of text into a control's designed box, whatever the face's line height.
#pragma once

#include <QFont>

class QWidget;

// Gives `widget` `font` for a line of text in a box `height` pixels tall, its designed size. A
// label or a text box that would cut the ink of its line places the ink instead of the line;
// where that is not enough, or for other controls, the font is made smaller until it fits.
void fitTextToBox(QWidget& widget, QFont font, int height);
