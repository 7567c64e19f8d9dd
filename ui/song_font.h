// The window's fonts: 宋体 in the given sizes, mapped to the Song/Ming-style CJK fonts installed
// here.
#pragma once

#include <QFont>

// Returns the family 宋体 at `pointSize`, normal weight, upright; on first use maps 宋体 and SimSun
// to Noto Serif CJK SC and AR PL UMing CN, then Noto Sans CJK SC, so that hanzi never show as
// boxes.
QFont songFont(qreal pointSize);

// Returns the platform's user-interface font at 9 points, the size the window's layout suits.
QFont windowFont();
