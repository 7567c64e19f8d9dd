// SPDX-License-Identifier: GPL-3.0-or-later
// Telling what kind of file a path names: the existence test for the program's two files.
#pragma once

#include <QString>

// Returns whether `path` names a regular file, itself or through links that the running user or
// root owns. A directory, a device, a FIFO, a missing file, a dangling link and a link of anyone
// else count as no file. Looks afresh at each call.
bool isRegularFile(const QString& path);
