// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the settings file with a bound: never more than a little over 1 MiB, never a wait.
#pragma once

#include <QByteArray>
#include <optional>

// The largest file read as a settings file; a larger one counts as unreadable.
inline constexpr qsizetype kMaxProfileFileBytes = 1024 * 1024;

// Returns the bytes of the regular file at the native path `path`, reached through links of the
// running user or root only, or nothing when there is none, it is larger than
// kMaxProfileFileBytes or it cannot be read. Never opens a FIFO or a device and never reads more
// than kMaxProfileFileBytes + 1 bytes of anything.
std::optional<QByteArray> readProfileFile(const QByteArray& path);
