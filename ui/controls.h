// SPDX-License-Identifier: GPL-3.0-or-later
// The window's controls that differ from Qt's own in how they react to a click.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

// A label that reports a left-button click, as a push button does.
class ClickableLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    // Emitted when the left button is pressed and released over the label.
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A result label whose whole text a drag across it or a double click selects, shown highlighted,
// and that Ctrl+C or its context menu's Copy put on the clipboard. Unlike Qt's selectable
// labels it paints its text as a plain label does, so the text keeps its place in the box.
class SelectableLabel : public QLabel {
    Q_OBJECT

public:
    explicit SelectableLabel(const QString& text, QWidget* parent = nullptr);

    // Drops the selection, as a new text does.
    void clearSelection() { setSelected(false); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void setSelected(bool selected);
    void copy() const;

    bool m_selected = false;
    QPoint m_pressedAt;
};

// A single-line text box that reports a left-button click once it has handled the click itself.
class ClickableLineEdit : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

signals:
    // Emitted after the box has placed its caret or selection for a left-button click.
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A check box whose clicks toggle between clear and ticked, while code may still set it greyed.
class TwoStateClickCheckBox : public QCheckBox {
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

protected:
    // A click (or the space bar) ticks a clear or greyed box and clears a ticked one.
    void nextCheckState() override;
};
