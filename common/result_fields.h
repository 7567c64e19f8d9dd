// SPDX-License-Identifier: GPL-3.0-or-later
// What the query and start-up both set on the main window: the input box and the two results.
#pragma once

#include <QString>

class ResultFields {
public:
    virtual ~ResultFields() = default;

    // Replaces the text of the input box `txthanzi`.
    virtual void setInputText(const QString& text) = 0;
    // Sets the caption of the Wubi result label `Lblwbzxsc`.
    virtual void setWubiResult(const QString& caption) = 0;
    // Sets the caption of the pinyin result label `Lblhypysc`.
    virtual void setPinyinResult(const QString& caption) = 0;
};
