// SPDX-License-Identifier: GPL-3.0-or-later
// The main window `frmmain`: the input box, the query button, the two results, the always-on-top
// switch and the credit line, in the designed fixed layout.
#pragma once

#include <QWidget>

#include "query/query_window.h"
#include "settings/file_locations.h"
#include "settings/startup.h"

class ClickableLabel;
class ClickableLineEdit;
class QLabel;
class QPushButton;
class SelectableLabel;
class TwoStateClickCheckBox;

// The window takes the query's and start-up's operations; neither interface knows the other.
class frmmain : public QWidget, public QueryWindow, public StartupWindow {
    Q_OBJECT

public:
    // Creates the window with its design-time texts, centred on the primary screen and not yet
    // shown, keeping its settings and history in the files that `files` names.
    explicit frmmain(FileLocations files, QWidget* parent = nullptr);

    // Returns where the window keeps its two files.
    const FileLocations& files() const;

    // The operations of the query, its history step and start-up, as their interfaces state.
    QString inputText() const override;
    void setInputText(const QString& text) override;
    void focusInput() override;
    void setWubiResult(const QString& caption) override;
    void setPinyinResult(const QString& caption) override;
    void showMessage(const QString& text) override;
    void setCreditToolTip(const QString& text) override;
    void setOnTopCaption(const QString& text) override;
    void setLabel1Caption(const QString& text) override;
    void setLabel2Caption(const QString& text) override;
    void setLabel3Caption(const QString& text) override;
    void setSearchCaption(const QString& text) override;
    void setTitle(const QString& text) override;
    void clearQueryFields() override;
    qint16 onTopState() const override;
    void setOnTopState(qint16 state) override;
    void SetWindowOnTop(qint16 state) override;

private:
    void createControls();
    void placeControls();
    void connectEvents();

    // Runs the query, then shows the queried character's codes, strokes and readings as the
    // results' tooltips.
    void runQuery();
    // Sets the results' tooltips for `character`, the one just queried: every code by level and
    // the strokes, every reading with tones; none where the data know nothing of it. An empty
    // query changes nothing.
    void showDetailsOf(const QString& character);

    // Stores the box's state as `SetOnTop`, then moves the window into or out of the top band.
    void ChkSetOnTop_Click();
    // Opens the `WebOnline` address with the desktop's handler if it is an http or https address.
    void Label4_Click();
    // Selects the whole text of the input box.
    void txthanzi_Click();

    FileLocations m_files;
    QLabel* m_label3 = nullptr;
    ClickableLineEdit* m_txthanzi = nullptr;
    TwoStateClickCheckBox* m_chkSetOnTop = nullptr;
    QLabel* m_label1 = nullptr;
    SelectableLabel* m_lblwbzxsc = nullptr;
    QPushButton* m_cmmsearch = nullptr;
    QLabel* m_label2 = nullptr;
    SelectableLabel* m_lblhypysc = nullptr;
    ClickableLabel* m_label4 = nullptr;
};
