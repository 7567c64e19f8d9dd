// SPDX-License-Identifier: GPL-3.0-or-later
// Every code, reading and stroke of one character, as the result fields' tooltips show them.
#pragma once

#include <QString>
#include <QStringView>

// The texts of the two results' tooltips; an empty text means no tooltip.
struct ResultToolTips {
    // Every code by level, one line each in level order, a code that offers other characters
    // first with its place ("一级简码：q", "三码：deu（第2位）", "全码：trnt"), then the
    // strokes ("笔画：5（丶乚丶丿丶）"); lines joined by LF without a final one.
    QString wubi;
    // The readings with tone marks on one line, the filing reading first ("读音：cháng、zhǎng"),
    // or for a character without a modern reading its historical ones ("旧读：chú").
    QString pinyin;
};

// Returns the tooltips for `character`, one UTF-16 code unit or a surrogate pair; empty texts for
// anything else (empty, longer, a lone surrogate) and where the data know nothing of it.
ResultToolTips resultToolTips(QStringView character);
