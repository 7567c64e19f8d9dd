// SPDX-License-Identifier: GPL-3.0-or-later
// The history log `历史记录.txt`: a framed header on creation, then one GBK record line per query.
#pragma once

#include <QString>

class QueryWindow;

// The history step: appends the record line of one query (`character`, and the `wubiResult`
// and `pinyinResult` that the query showed) to the history file at `path`, first creating the
// file with its ten-line header when no regular file is there. The file only ever grows by
// whole lines that have reached the disk: a header or a record that cannot be written and synced
// whole is taken back, leaving the file as it was (a new file not there at all). Only links of
// the running user or root are followed, and no file is created through a link. An empty
// `character` gets the header-if-missing, then the focus in the input box and a message, and no
// record. Shows no error: a query whose record is lost still shows its results.
void wbscdaochu(QueryWindow& window, const QString& path, const QString& character,
                const QString& wubiResult, const QString& pinyinResult);
