// SPDX-License-Identifier: GPL-3.0-or-later
// What the character query and its history step need of the main window, independent of a
// toolkit.
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
    // Sets the caption of the Wubi result label `Lblwbzxsc`.
    virtual void setWubiResult(const QString& caption) = 0;
    // Sets the caption of the pinyin result label `Lblhypysc`.
    virtual void setPinyinResult(const QString& caption) = 0;
    // Shows a modal message box with `text`, one OK button, no icon and the application title.
    virtual void showMessage(const QString& text) = 0;
};
