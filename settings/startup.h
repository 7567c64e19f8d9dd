// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up `Form_Load`: creates the settings file on first run and applies it to the window.
#pragma once

#include <QString>

// What start-up needs of the main window, independent of a toolkit.
class StartupWindow {
public:
    virtual ~StartupWindow() = default;

    // Set the tooltip of the credit line `Label4` and the captions of the other controls.
    virtual void setCreditToolTip(const QString& text) = 0;
    virtual void setOnTopCaption(const QString& text) = 0;  // `ChkSetOnTop`
    virtual void setLabel1Caption(const QString& text) = 0;
    virtual void setLabel2Caption(const QString& text) = 0;
    virtual void setLabel3Caption(const QString& text) = 0;
    virtual void setSearchCaption(const QString& text) = 0;  // `Cmmsearch`
    virtual void setTitle(const QString& text) = 0;          // `frmmain`
    // Empties the input box `txthanzi`, then the result labels `Lblwbzxsc` and `Lblhypysc`.
    virtual void clearQueryFields() = 0;

    // Returns / sets the state of `ChkSetOnTop` (0 clear, 1 ticked, 2 greyed). Setting a state
    // other than the current one runs the box's click handler before returning.
    virtual qint16 onTopState() const = 0;
    virtual void setOnTopState(qint16 state) = 0;
    // Moves the window into the topmost band for state 1, out of it for any other state.
    virtual void SetWindowOnTop(qint16 state) = 0;
};

// Runs start-up on `window` with the settings file at `settingsPath`: first-run defaults,
// always-on-top state, captions, title, cleared fields. Never reports a failure.
void Form_Load(StartupWindow& window, const QString& settingsPath);
