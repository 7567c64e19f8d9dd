// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls.h"

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
