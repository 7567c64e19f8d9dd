// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of tinglan's start-up that bench/window_start_bench.py times it against: a bare
// window of the same size that draws hanzi with the same fonts, in a Song face and the window
// font, and does nothing else.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "ui/fonts.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    useSimplifiedChineseFaces();
    QWidget window;
    window.setWindowTitle(QStringLiteral("汀兰码音检字百宝箱"));
    window.setFont(windowFont());
    window.setFixedSize(276, 89);
    QLabel song(QStringLiteral("五笔编码："), &window);
    song.setFont(songFont(9));
    QLabel caption(QStringLiteral("汉语拼音："), &window);
    caption.move(0, 40);
    window.show();
    return application.exec();
}
