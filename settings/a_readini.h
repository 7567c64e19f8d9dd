// SPDX-License-Identifier: GPL-3.0-or-later
// The settings module `A_readini`: a private-profile (INI) reader and writer for GBK files.
#pragma once

#include <QString>

#include "settings/setting_keys.h"

// Returns the settings file's path in `programDirectory`.
QString settingsFilePath(const QString& programDirectory);

// Returns the value of `key` in `section` of the file at `path`, at most 253 GBK bytes of it (a
// two-byte character that does not fit is dropped), or `defaultValue` when the file, the section
// or the key is missing. Never creates or changes the file.
QString ReadIniValue(const QString& path, const QString& section, const QString& key,
                     const QString& defaultValue);

// Sets `key` in `section` of the file at `path` to `value`, creating file, section or key as
// needed and changing no byte outside that one line; the file is replaced whole or left as it
// was. Returns "1" on success, "0" when the file cannot or may not be written or when the names
// or the value would break its layout (a line end, "]" or a leading ";" or "[" in a name, "=" in
// a key) or hold a character GBK lacks.
QString WriteIniValue(const QString& path, const QString& section, const QString& key,
                      const QString& value);
