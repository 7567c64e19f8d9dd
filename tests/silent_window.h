// SPDX-License-Identifier: GPL-3.0-or-later
// A query window that ignores every operation, for the programs that record queries in the
// history without a window: the history step asks a window for nothing while it has a character.
#pragma once

#include "query/query_window.h"

class SilentWindow : public QueryWindow {
public:
    QString inputText() const override { return {}; }
    void setInputText(const QString&) override {}
    void focusInput() override {}
    void setWubiResult(const QString&) override {}
    void setPinyinResult(const QString&) override {}
    void showMessage(const QString&) override {}
};
