// SPDX-License-Identifier: GPL-3.0-or-later
// The window's fonts: 宋体 in the designed sizes, mapped to the Ming-style CJK fonts of this
// system.
#pragma once

#include <QFont>

// Returns the family 宋体 at `pointSize`, normal weight, upright; on first use maps 宋体 and SimSun
// to AR PL UMing CN and Noto Serif CJK SC, then Noto Sans CJK SC, so hanzi never show as boxes.
QFont songFont(qreal pointSize);

// Returns the platform's user-interface font at 9 points, the size the window's layout suits.
QFont windowFont();
