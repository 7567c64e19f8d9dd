// SPDX-License-Identifier: GPL-3.0-or-later
// Blanks around names and values in the program's text files: the space and the tab.
#pragma once

#include <QByteArrayView>
#include <QChar>
#include <QStringView>

// Returns whether `c` is a blank: a space or a tab.
constexpr bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }
constexpr bool isBlank(QChar c) { return isBlank(c.unicode()); }
// Both blanks are below 0x40, where no GBK trail byte lies, so a byte test needs no GBK scan.
constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }

namespace blanks_detail {
template <typename View>
View trimmed(View text) {
    while (!text.isEmpty() && isBlank(text.front())) text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back())) text.chop(1);
    return text;
}
}  // namespace blanks_detail

// Returns `text` without the blanks at its start and its end.
inline QStringView trimmedBlanks(QStringView text) { return blanks_detail::trimmed(text); }
// Returns the GBK bytes `bytes` without the blanks at their start and their end.
inline QByteArrayView trimmedBlanks(QByteArrayView bytes) { return blanks_detail::trimmed(bytes); }
