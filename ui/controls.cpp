// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace {

bool isClick(const QWidget& widget, const QMouseEvent& event) {
    return event.button() == Qt::LeftButton && widget.rect().contains(event.position().toPoint());
}

}  // namespace

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (isClick(*this, *event)) {
        emit clicked();
    }
}

SelectableLabel::SelectableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void SelectableLabel::setSelected(bool selected) {
    if (selected == m_selected) return;
    m_selected = selected;
    QPalette colours = palette();
    const QPalette standard = QApplication::palette(this);
    colours.setColor(QPalette::Window, selected ? standard.color(QPalette::Highlight)
                                                : standard.color(QPalette::Window));
    colours.setColor(QPalette::WindowText, selected ? standard.color(QPalette::HighlightedText)
                                                    : standard.color(QPalette::WindowText));
    setPalette(colours);
}

void SelectableLabel::copy() const {
    if (m_selected) QApplication::clipboard()->setText(text());
}

void SelectableLabel::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        m_pressedAt = event->position().toPoint();
        setSelected(false);
        // The keyboard comes along for Ctrl+C. The label takes no focus otherwise (its policy
        // stays as a label's), so Tab still passes it by.
        setFocus(Qt::MouseFocusReason);
    }
}

void SelectableLabel::mouseMoveEvent(QMouseEvent* event) {
    QLabel::mouseMoveEvent(event);
    const bool dragged = (event->position().toPoint() - m_pressedAt).manhattanLength() >=
                         QApplication::startDragDistance();
    if (event->buttons() & Qt::LeftButton && dragged && !text().isEmpty()) setSelected(true);
}

void SelectableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    QLabel::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && !text().isEmpty()) setSelected(true);
}

void SelectableLabel::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    QLabel::keyPressEvent(event);
}

void SelectableLabel::focusOutEvent(QFocusEvent* event) {
    QLabel::focusOutEvent(event);
    // The context menu takes the focus while it is open; its Copy still needs the selection.
    if (event->reason() != Qt::PopupFocusReason) setSelected(false);
}

void SelectableLabel::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* const copyAction = menu.addAction(QStringLiteral("复制"), this, [this] { copy(); });
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(m_selected);
    menu.exec(event->globalPos());
}

void ClickableLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The box's own release handling may drop a selection (a click into selected text), so the
    // click is reported only after it.
    QLineEdit::mouseReleaseEvent(event);
    if (isClick(*this, *event)) {
        emit clicked();
    }
}

void TwoStateClickCheckBox::nextCheckState() {
    // Greying the box from code makes it tristate; the user must still never reach that state.
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}
