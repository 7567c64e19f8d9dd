// SPDX-License-Identifier: GPL-3.0-or-later
// What the character query and the history log need of the main window, independent of a toolkit.
#pragma once

#include <QString>

class QueryWindow {
public:
    virtual ~QueryWindow() = default;

    // Returns the text of the input box `txthanzi`.
    virtual QString inputText() const = 0;
    // Replaces the text of the input box `txthanzi`.
    virtual void setInputText(const QString& text) = 0;
    // Gives the keyboard focus to the input box `txthanzi`.
    virtual void focusInput() = 0;

    // Returns / sets the caption of the Wubi result label `Lblwbzxsc`.
    virtual QString wubiResult() const = 0;
    virtual void setWubiResult(const QString& caption) = 0;
    // Returns / sets the caption of the pinyin result label `Lblhypysc`.
    virtual QString pinyinResult() const = 0;
    virtual void setPinyinResult(const QString& caption) = 0;

    // Appends the current query to the history log (the window's public operation).
    virtual void wbscdaochu() = 0;

    // Returns the directory that holds the program's executable; both files live there.
    virtual QString programDirectory() const = 0;
    // Shows a modal message box with `text`, one OK button, no icon and the application title.
    virtual void showMessage(const QString& text) = 0;
};
