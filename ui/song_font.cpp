#include "song_font.h"

#include <QApplication>
#include <QStringList>

namespace {

void installSongSubstitutes() {
    // A Song/Ming face first, as 宋体 is one; the sans face only for a system that has neither.
    const QStringList substitutes = {QStringLiteral("Noto Serif CJK SC"),
                                     QStringLiteral("AR PL UMing CN"),
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
