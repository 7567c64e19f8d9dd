// SPDX-License-Identifier: GPL-3.0-or-later
// GBK text: conversion to and from UTF-16, and walking GBK bytes one character at a time.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// Returns the GBK bytes of `text`, or nothing when GBK cannot represent all of it (or the
// converter is missing).
std::optional<QByteArray> encodeGbk(QStringView text);

// Returns the GBK bytes of `text` with one "?" for each character that GBK cannot represent (a
// surrogate pair counts as one), or nothing when the converter is missing.
std::optional<QByteArray> encodeGbkReplacing(QStringView text);

// Returns `bytes` read as GBK, bytes that are not GBK replaced, or nothing when the converter is
// missing.
std::optional<QString> decodeGbk(QByteArrayView bytes);

// Returns the length, 1 or 2, of the character that starts at `pos` (< bytes.size()): 2 for a
// GBK lead byte followed by a valid trail byte, 1 otherwise.
qsizetype gbkCharLength(QByteArrayView bytes, qsizetype pos);

// Returns the position of the first character of `bytes` at or after `from` that is the
// single byte `c`, never a trail byte of a two-byte character; -1 when there is none.
qsizetype gbkIndexOf(QByteArrayView bytes, char c, qsizetype from);

// Returns the longest start of `bytes` of at most `maxBytes` bytes that ends on a character
// boundary.
QByteArrayView gbkPrefix(QByteArrayView bytes, qsizetype maxBytes);
