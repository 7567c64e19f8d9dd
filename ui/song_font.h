// SPDX-License-Identifier: GPL-3.0-or-later
// The window's fonts: 宋体's Simplified Chinese stand-ins on this system, and hanzi in Simplified
// Chinese faces whatever the locale, sized to fit the designed boxes.
#pragma once

#include <QFont>

class QWidget;

// Returns the Ming faces that stand in for 宋体 (AR PL UMing CN, then Noto Serif CJK SC), then
// Noto Sans CJK SC, at `pointSize`, normal weight, upright: the first installed face draws.
QFont songFont(qreal pointSize);

// Returns the platform's user-interface font at 9 points, the size the window's layout suits,
// with hanzi drawn by Simplified Chinese faces.
QFont windowFont();

// Makes the application's default font, tooltips' included, draw hanzi with Simplified Chinese
// faces; the locale would otherwise pick the faces (Japanese ones under C.UTF-8).
void useSimplifiedChineseFaces();

// Gives `widget` `font` for a line of text in a box `height` pixels tall, its designed size. A
// label or a text box that would cut the ink of its line places the ink instead of the line;
// where that is not enough, or for other controls, the font is made smaller until it fits.
void fitTextToBox(QWidget& widget, QFont font, int height);
