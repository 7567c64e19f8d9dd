// SPDX-License-Identifier: GPL-3.0-or-later
// What the character query and the history log need of the main window, independent of a toolkit.
#pragma once

#include <QString>

#include "common/result_fields.h"

class QueryWindow : public virtual ResultFields {
public:
    // Returns the text of the input box `txthanzi`.
    virtual QString inputText() const = 0;
    // Gives the keyboard focus to the input box `txthanzi`.
    virtual void focusInput() = 0;
    // Returns the caption of the Wubi result label `Lblwbzxsc`.
    virtual QString wubiResult() const = 0;
    // Returns the caption of the pinyin result label `Lblhypysc`.
    virtual QString pinyinResult() const = 0;

    // Appends the current query to the history log (the window's public operation).
    virtual void wbscdaochu() = 0;

    // Shows a modal message box with `text`, one OK button, no icon and the application title.
    virtual void showMessage(const QString& text) = 0;
};
