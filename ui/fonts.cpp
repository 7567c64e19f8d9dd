// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fonts.h"

#include <QApplication>
#include <QStringList>

namespace {

// The faces that draw hanzi after the user's own, whatever the locale: Simplified Chinese ones.
const QStringList& simplifiedChineseFaces() {
    static const QStringList faces = {QStringLiteral("Noto Sans CJK SC"),
                                      QStringLiteral("AR PL UMing CN"),
                                      QStringLiteral("Noto Serif CJK SC")};
    return faces;
}

QFont withSimplifiedChineseFaces(QFont font) {
    QStringList families = font.families();
    if (families.isEmpty()) {
        families << font.family();
    }
    for (const QString& face : simplifiedChineseFaces()) {
        if (!families.contains(face)) {
            families << face;
        }
    }
    font.setFamilies(families);
    return font;
}

}  // namespace

QFont songFont(qreal pointSize) {
    // The stand-ins are asked for directly: the family 宋体 exists on no Linux system, and a
    // miss costs the font database a search before it tries the substitutes.
    // UMing first: its line height is its em, as 宋体's is, where Noto CJK's is nearly half as
    // much again.
    QFont font;
    font.setFamilies({QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

QFont windowFont() {
    // The fixed layout leaves no room for a larger desktop font; the family stays the user's.
    QFont font = withSimplifiedChineseFaces(QApplication::font());
    font.setPointSizeF(9);
    return font;
}

void useSimplifiedChineseFaces() {
    const QFont font = withSimplifiedChineseFaces(QApplication::font());
    QApplication::setFont(font);
    // A platform theme may give tooltips a font of their own.
    QApplication::setFont(withSimplifiedChineseFaces(QApplication::font("QTipLabel")), "QTipLabel");
}
