// SPDX-License-Identifier: GPL-3.0-or-later
// The history log `历史记录.txt`: a framed header on creation, then one GBK record line per query.
#pragma once

#include <QString>

class QueryWindow;

// Returns the history file's path in `programDirectory`.
QString historyFilePath(const QString& programDirectory);

// Creates the history file with its header when there is none, then appends the record line
// built from the window's input box and result labels, whole or not at all; an empty input box
// gets the focus and a message instead of a record. Never reports a failure.
void wbscdaochu(QueryWindow& window);
