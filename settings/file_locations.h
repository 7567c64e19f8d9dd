// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its two files, decided once per start: beside the executable where
// that directory is the user's own, otherwise in the per-user configuration and data directories.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The paths of the settings file and the history file. An empty path names no place: every
// read of it finds nothing and every write fails.
struct FileLocations {
    QString settingsFile;  // SetValve.ini
    QString historyFile;   // 历史记录.txt
};

// Returns the two files' paths in `directory`, which must be a directory that exists.
FileLocations fileLocationsIn(const QString& directory);

// Returns `nativePath` (as the file system holds it) as text, or nothing when the text would
// name another path, as a folder name that is not valid UTF-8 would.
std::optional<QString> representablePath(const QByteArray& nativePath);

// Returns the directory that holds the running executable, or nothing when it cannot be found or
// represented as text.
std::optional<QString> executableDirectory();

// Returns the per-user base directory that the XDG Base Directory rules name by the
// environment variable `variable` (XDG_CONFIG_HOME or XDG_DATA_HOME), with `underHome` (".config"
// or ".local/share") below the home as its default. A relative value is ignored; with HOME unset
// or relative the home comes from the password database. Nothing when there is no home, or when
// the home or the value is the file system's root.
std::optional<QByteArray> perUserBaseDirectory(const char* variable, const char* underHome);

// Returns where the files live. In `programDirectory` when it is given and is the user's own: a
// directory that the effective user owns and may write, that no other user may write (a group
// write bit is fine where the group holds that user alone, as Debian's user private groups do),
// and that is no system program directory (one of Debian's default PATH, the directory this
// build installs into, or a copy of such a tree, such as an unpacked package). Otherwise
// SetValve.ini in the tinglan directory of the per-user configuration base and 历史记录.txt in
// that of the per-user data base, each made (private) when missing and used only when it is the
// user's own; an empty path where there is none. Never the current directory.
FileLocations resolveFileLocations(const std::optional<QString>& programDirectory);
