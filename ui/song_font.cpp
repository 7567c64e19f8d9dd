// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/song_font.h"

#include <QApplication>
#include <QStringList>

namespace {

void installSongSubstitutes() {
    // Ming faces, as 宋体 is one. UMing first: its line height is its em, as 宋体's is, where Noto
    // Serif CJK's is nearly half as much again and would cut the glyphs in the designed boxes.
    // The sans face only for a system that has neither.
    const QStringList substitutes = {QStringLiteral("AR PL UMing CN"),
                                     QStringLiteral("Noto Serif CJK SC"),
                                     QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), substitutes);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), substitutes);
}

}  // namespace

QFont songFont(qreal pointSize) {
    static const bool installed = (installSongSubstitutes(), true);
    Q_UNUSED(installed);
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

QFont windowFont() {
    // The fixed layout leaves no room for a larger desktop font; the family stays the user's.
    QFont font = QApplication::font();
    font.setPointSizeF(9);
    return font;
}
