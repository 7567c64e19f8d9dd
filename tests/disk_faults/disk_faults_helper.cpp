// SPDX-License-Identifier: GPL-3.0-or-later
// Runs one write of the program's files in DIRECTORY, for the fault tests to start under the
// failing library, and prints WriteIniValue's or WriteNewIniFile's result (nothing for history).
// Usage: disk_faults_helper settings|first-run|history DIRECTORY
#include <QString>
#include <cstdio>
#include <cstring>

#include "query/history_log.h"
#include "settings/a_readini.h"
#include "settings/file_locations.h"
#include "tests/silent_window.h"

int main(int argc, char* argv[]) {
    if (argc != 3) return 2;
    const FileLocations files = fileLocationsIn(QString::fromLocal8Bit(argv[2]));
    const QString section = QString::fromUtf16(kSettingsSection);
    QString result;
    if (std::strcmp(argv[1], "settings") == 0) {
        result = WriteIniValue(files.settingsFile, section, QStringLiteral("SetOnTop"),
                               QStringLiteral("1"));
    } else if (std::strcmp(argv[1], "first-run") == 0) {
        result = WriteNewIniFile(files.settingsFile, section,
                                 {{QStringLiteral("SetOnTop"), QStringLiteral("0")},
                                  {QStringLiteral("MeCmmsearch"), QStringLiteral("查询")}});
    } else if (std::strcmp(argv[1], "history") == 0) {
        SilentWindow window;
        wbscdaochu(window, files.historyFile, QStringLiteral("啊"), QStringLiteral("kb"),
                   QStringLiteral("a"));
    } else {
        return 2;
    }
    std::fputs(result.toUtf8().constData(), stdout);
    return 0;
}
