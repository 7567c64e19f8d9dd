// SPDX-License-Identifier: GPL-3.0-or-later
// The history log `历史记录.txt`: a framed header on creation, then one GBK record line per query.
#pragma once

#include <QString>

class QueryWindow;

// What became of one call; the window ignores it, as every history failure is silent there.
enum class HistoryOutcome {
    Written,       // the header (if the file was new) and the record are in the file
    HeaderOnly,    // the file was created with its header; no record was asked for
    AlreadyThere,  // a file was found: no header written, no record asked for
    NotWritten,    // nothing of this call is in the file (it cannot be created, opened or written)
};

// Creates the history file at `path` with its ten-line header when no regular file is there,
// and never leaves a file that lacks the header because of this call. Returns HeaderOnly when it
// created the file, AlreadyThere when one was found, NotWritten when none could be made.
[[nodiscard]] HistoryOutcome createHistoryFileIfMissing(const QString& path);

// Creates the history file at `path` as createHistoryFileIfMissing does, then appends the record
// line of one query (`character`, `wubiResult`, `pinyinResult`) whole, in one write, or leaves
// the file as it was. Returns Written or NotWritten.
[[nodiscard]] HistoryOutcome appendHistoryRecord(const QString& path, const QString& character,
                                                 const QString& wubiResult,
                                                 const QString& pinyinResult);

// The window's history operation: records the window's input box and result labels in the file
// at `path`; an empty input box gets the header-if-missing, the focus and a message instead of a
// record. Never reports a failure.
void wbscdaochu(QueryWindow& window, const QString& path);
