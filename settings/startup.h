// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up `Form_Load`: creates the settings file on first run and applies it to the window.
#pragma once

#include <QString>

// What start-up needs of the main window, independent of a toolkit.
class StartupWindow {
public:
    virtual ~StartupWindow() = default;

    // Returns the directory that holds the program's executable.
    virtual QString programDirectory() const = 0;

    // Set the tooltip of the credit line `Label4` and the captions of the other controls.
    virtual void setCreditToolTip(const QString& text) = 0;
    virtual void setOnTopCaption(const QString& text) = 0;  // `ChkSetOnTop`
    virtual void setLabel1Caption(const QString& text) = 0;
    virtual void setLabel2Caption(const QString& text) = 0;
    virtual void setLabel3Caption(const QString& text) = 0;
    virtual void setSearchCaption(const QString& text) = 0;  // `Cmmsearch`
    virtual void setTitle(const QString& text) = 0;          // `frmmain`

    // Set the text of `txthanzi` and the captions of `Lblwbzxsc` and `Lblhypysc`.
    virtual void setInputText(const QString& text) = 0;
    virtual void setWubiResult(const QString& caption) = 0;
    virtual void setPinyinResult(const QString& caption) = 0;

    // Returns / sets the state of `ChkSetOnTop` (0 clear, 1 ticked, 2 greyed). Setting a state
    // other than the current one runs the box's click handler before returning.
    virtual qint16 onTopState() const = 0;
    virtual void setOnTopState(qint16 state) = 0;
    // Moves the window into the topmost band for state 1, out of it for any other state.
    virtual void SetWindowOnTop(qint16 state) = 0;
};

// The application's title: the message boxes' caption and the start of the window title.
inline constexpr char16_t kApplicationTitle[] = u"汀兰码音检字百宝箱";
// The maker's web address: the default of `WebOnline` and the address in `ToolTipText`.
inline constexpr char16_t kMakerWebAddress[] = u"https://tinglan.example/";
// The credit line: the caption of `Label4` and the default of `About`.
inline constexpr char16_t kMakerCreditLine[] = u"汀兰码音开发组 出品";

// Returns the window title: the application title, " V", the major and the minor version.
QString applicationWindowTitle();

// Runs start-up on `window`: first-run defaults, always-on-top state, captions, title, cleared
// fields. Never reports a failure.
void Form_Load(StartupWindow& window);
