// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/file_locations.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr char16_t kSettingsFileName[] = u"SetValve.ini";
constexpr char16_t kHistoryFileName[] = u"历史记录.txt";
constexpr char16_t kApplicationDirectoryName[] = u"tinglan";

// Whether this process may create and write files in `directory` (write and search permission,
// on a file system that is not read-only), judged with its effective ids as the writes will be.
bool userCanWriteIn(const QString& directory) {
    const QByteArray path = QFile::encodeName(directory);
    return QFileInfo(directory).isDir() &&
           ::faccessat(AT_FDCWD, path.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

// The tinglan directory under a per-user base directory, created when missing (private, as
// the XDG base directories are); empty when there is no base or it cannot be made.
QString perUserDirectory(QStandardPaths::StandardLocation base) {
    const QString baseDirectory = QStandardPaths::writableLocation(base);
    // QStandardPaths gives an absolute path or nothing; a relative one would mean the current
    // directory, where the files must never go.
    if (baseDirectory.isEmpty() || QDir::isRelativePath(baseDirectory)) return {};
    const QString directory =
        QDir(baseDirectory).filePath(QString::fromUtf16(kApplicationDirectoryName));
    const QFile::Permissions privateDirectory =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    if (!QFileInfo(baseDirectory).isDir() && !QDir().mkpath(baseDirectory)) return {};
    if (!QFileInfo(directory).isDir() &&
        !QDir(baseDirectory)
             .mkdir(QString::fromUtf16(kApplicationDirectoryName), privateDirectory)) {
        return {};
    }
    return directory;
}

QString pathIn(const QString& directory, const char16_t* fileName) {
    return directory.isEmpty() ? QString() : QDir(directory).filePath(QString::fromUtf16(fileName));
}

}  // namespace

FileLocations fileLocationsIn(const QString& directory) {
    return {pathIn(directory, kSettingsFileName), pathIn(directory, kHistoryFileName)};
}

std::optional<QString> representablePath(const QByteArray& nativePath) {
    const QString text = QFile::decodeName(nativePath);
    if (QFile::encodeName(text) != nativePath) return std::nullopt;
    return text;
}

std::optional<QString> executableDirectory() {
    // The kernel's own record of the executable: argv[0] may say anything.
    const QByteArray link = "/proc/self/exe";
    QByteArray target(4096, '\0');
    const ssize_t length = ::readlink(link.constData(), target.data(), target.size());
    if (length <= 0 || length >= target.size()) return std::nullopt;
    target.truncate(length);
    const qsizetype slash = target.lastIndexOf('/');
    if (slash < 0) return std::nullopt;
    return representablePath(slash == 0 ? QByteArray("/") : target.left(slash));
}

FileLocations resolveFileLocations(const std::optional<QString>& programDirectory) {
    if (programDirectory && userCanWriteIn(*programDirectory)) {
        return fileLocationsIn(*programDirectory);
    }
    return {pathIn(perUserDirectory(QStandardPaths::GenericConfigLocation), kSettingsFileName),
            pathIn(perUserDirectory(QStandardPaths::GenericDataLocation), kHistoryFileName)};
}
