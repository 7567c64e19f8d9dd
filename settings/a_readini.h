// SPDX-License-Identifier: GPL-3.0-or-later
// The settings module `A_readini`: a private-profile (INI) reader and writer for GBK files.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

#include "settings/setting_keys.h"

// Returns the value of `key` in `section` of the file at `path`, at most 253 GBK bytes of it (a
// two-byte character that does not fit is dropped), or `defaultValue` when the file, the section
// or the key is missing. Anything but a regular file of at most 1 MiB counts as missing, and so
// does a file behind a symbolic link that neither the user nor root owns. Never creates or
// changes the file.
QString ReadIniValue(const QString& path, const QString& section, const QString& key,
                     const QString& defaultValue);

// Returns whether `value`, as ReadIniValue returned it, may have been cut short: its GBK form
// fills the 253 bytes a read returns, or all but the one byte that a two-byte character that did
// not fit would have taken.
bool mayBeCutShort(const QString& value);

// Returns the values of `keys` in `section` of the file at `path`, in the order of `keys`, each
// exactly as ReadIniValue(path, section, key, QString()) would return it, from one read of the
// file.
QStringList ReadIniValues(const QString& path, const QString& section, const QStringList& keys);

// Sets `key` in `section` of the file at `path` to `value`, creating file, section or key as
// needed and changing no byte outside that one line; the file is replaced whole, synced to disk,
// or left as it was, and keeps its mode, owner and group. A symbolic link that the user or root
// owns is followed and stays; no file is created through a link. Writers in other processes
// take turns, so no write is lost; the write also removes the temporary files that a killed
// write left behind. Returns "1" once the new file is on disk, "0" when the file cannot or may
// not be written (another user's link or a loop of links; a dangling link; anything but a
// regular file of at most 1 MiB, before or after; a failed write, sync, close, chmod, chown or
// rename; another writer holding the directory for 0.18 s) or when the names or the value would
// break its layout (a line end, "]" or a leading ";" or "[" in a name, "=" in a key) or hold a
// character GBK lacks.
QString WriteIniValue(const QString& path, const QString& section, const QString& key,
                      const QString& value);

// Creates the file at `path` holding `section` with `entries` in order: the same bytes as the same
// WriteIniValue calls one after another on a missing file would leave, but in one all-or-nothing
// write, so that afterwards, even if the process is killed meanwhile, the file either does not
// exist or holds all of them. Takes turns with other writers as WriteIniValue does. Returns "1"
// when it created the file; "0", leaving everything as it was, when anything already exists at the
// path (another copy of the program may just have made it; a dangling link counts too), when
// WriteIniValue would refuse any of the entries, or when the file cannot be written.
QString WriteNewIniFile(const QString& path, const QString& section,
                        const QList<std::pair<QString, QString>>& entries);
