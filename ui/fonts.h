// SPDX-License-Identifier: GPL-3.0-or-later
// The window's fonts: 宋体's Simplified Chinese stand-ins on this system, and hanzi in Simplified
// Chinese faces whatever the locale.
#pragma once

#include <QFont>

// Returns the Ming faces that stand in for 宋体 (AR PL UMing CN, then Noto Serif CJK SC), then
// Noto Sans CJK SC, at `pointSize`, normal weight, upright: the first installed face draws.
QFont songFont(qreal pointSize);

// Returns the platform's user-interface font at 9 points, the size the window's layout suits,
// with hanzi drawn by Simplified Chinese faces.
QFont windowFont();

// Makes the application's default font, tooltips' included, draw hanzi with Simplified Chinese
// faces; the locale would otherwise pick the faces (Japanese ones under C.UTF-8).
void useSimplifiedChineseFaces();
