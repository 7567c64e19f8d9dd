// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its two files, decided once per start: beside the executable where the
// user can write there, otherwise in the per-user configuration and data directories.
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

// Returns where the files live: in `programDirectory` when it is given and the user may create
// and write files in it; otherwise SetValve.ini in $XDG_CONFIG_HOME/tinglan/ and 历史记录.txt in
// $XDG_DATA_HOME/tinglan/, each directory created when it is missing (an empty path where that
// fails). Never the current directory.
FileLocations resolveFileLocations(const std::optional<QString>& programDirectory);
