// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_fitting.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QTextLayout>
#include <QWidget>
#include <algorithm>

namespace {

// Half a pixel for the rounding of the baseline and the antialiased edge of the ink.
constexpr qreal kSlack = 0.5;

// One line of `font` as a box lays it out: the ascent and descent of its tallest face (hanzi and
// Latin letters may come from different faces), and the ink of the highest and lowest glyphs
// that captions, codes and pinyin hold, relative to the baseline.
struct LineMetrics {
    qreal ascent, descent, inkTop, inkBottom;

    // The baseline where a box that centres the line puts it.
    qreal centredBaseline(int height) const { return (height - ascent - descent) / 2 + ascent; }
    bool centredLineFits(int height) const {
        const qreal baseline = centredBaseline(height);
        return baseline + inkTop >= kSlack && baseline + inkBottom <= height - kSlack;
    }
    // The baseline where a box that puts the line at its bottom, lifted by whole pixels, centres
    // the ink as nearly as it can.
    qreal liftedBaseline(int height) const {
        return std::min(height - descent, (height - inkTop - inkBottom) / 2);
    }
    bool liftedLineFits(int height) const {
        const qreal baseline = liftedBaseline(height);
        return baseline + inkTop >= kSlack && baseline + inkBottom <= height - kSlack;
    }
};

LineMetrics measure(const QFont& font, QWidget& widget) {
    const QString sample = QStringLiteral("汉字：Lbgjpqy");
    QTextLayout layout(sample, font, &widget);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const QRectF ink = QFontMetricsF(font, &widget).tightBoundingRect(sample);
    return {line.ascent(), line.descent(), ink.top(), ink.bottom()};
}

}  // namespace

void fitTextToBox(QWidget& widget, QFont font, int height) {
    // The designed sizes fit 宋体 and UMing, whose line is one em. Noto CJK's line is 1.45 em,
    // most of it above the hanzi, so a box that centres the line pushes descenders out of the
    // designed box. Labels and text boxes then place the ink instead; where even the ink is
    // taller than the box, or the control cannot move its text, the face is drawn a little
    // smaller, in whole pixels so that it stays sharp.
    auto* const label = qobject_cast<QLabel*>(&widget);
    auto* const box = qobject_cast<QLineEdit*>(&widget);
    const bool movable = label || box;
    const auto fits = [&](const QFont& candidate) {
        const LineMetrics metrics = measure(candidate, widget);
        return metrics.centredLineFits(height) || (movable && metrics.liftedLineFits(height));
    };
    if (!fits(font)) {
        int pixelSize = font.pixelSize() > 0
                            ? font.pixelSize()
                            : qRound(font.pointSizeF() * widget.logicalDpiY() / 72.0);
        do {
            font.setPixelSize(--pixelSize);
        } while (pixelSize > 6 && !fits(font));
    }
    widget.setFont(font);

    const LineMetrics metrics = measure(font, widget);
    if (!movable || metrics.centredLineFits(height)) {
        return;
    }
    // The line goes to the bottom of the box, lifted until its ink is centred if there is room:
    // the large ascent then lies above the box's top, where no ink is, and the text stays clipped
    // to the box.
    const int lift = qRound(height - metrics.descent - metrics.liftedBaseline(height));
    if (label) {
        label->setAlignment((label->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignBottom);
        label->setContentsMargins(0, 0, 0, lift);
    } else {
        box->setAlignment((box->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignBottom);
        box->setTextMargins(0, 0, 0, lift);
    }
}
