// SPDX-License-Identifier: GPL-3.0-or-later
// Private-profile (INI) text held as GBK bytes: finding a key's value and editing one key, no I/O.
//
// The layout follows the platform's private-profile conventions, since users edit the file by
// hand: lines end in CR LF, LF or CR; "[name]" opens a section, and so does "[name" (the name
// then runs to the end of the line); "name=value" is a key; a line whose first non-blank
// character is ";" is a comment. Names compare case-insensitively in ASCII letters only; blanks
// and tabs around names and values, and one pair of matching quotes around a value, are not
// part of them. The first of repeated sections or keys wins. A UTF-8 byte-order mark at the
// start is skipped. Every byte is scanned GBK-aware, so the trail byte
// of a two-byte character is never taken for "]" or an ASCII letter.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

// One change to a profile: the bytes [begin, end) give way to `replacement`.
struct ProfileEdit {
    qsizetype begin = 0;
    qsizetype end = 0;
    QByteArray replacement;
};

// Returns the value of `key` in the first section named `section` of `text`, blanks and quotes
// removed, or nothing when the section or the key is missing. Names are GBK bytes without
// surrounding blanks.
std::optional<QByteArray> profileValue(QByteArrayView text, QByteArrayView section,
                                       QByteArrayView key);

// Returns the edit that sets `key` in `section` of `text` to `value`: the value part of the
// key's line replaced, else a new key line after the section's last key, else a new section
// at the end; a line end goes before new lines when the text lacks one. Names and value must
// be GBK bytes that the layout can hold (no line ends, no "]" or leading ";" or "[" in a
// name, no "=" in a key); the value reads back as given.
ProfileEdit profileEdit(QByteArrayView text, QByteArrayView section, QByteArrayView key,
                        QByteArrayView value);
