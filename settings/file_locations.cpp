// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/file_locations.h"

#include <errno.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <array>
#include <string_view>
#include <vector>

#include "settings/install_directory.h"

namespace {

constexpr char16_t kSettingsFileName[] = u"SetValve.ini";
constexpr char16_t kHistoryFileName[] = u"历史记录.txt";
constexpr char kApplicationDirectoryName[] = "tinglan";

// Debian's default PATH for users and for root (/etc/login.defs): package files live there,
// and files the program leaves there would outlive the package.
constexpr std::array<std::string_view, 8> kSystemProgramDirectories = {
    "/usr/local/sbin", "/usr/local/bin", "/usr/sbin",        "/usr/bin",
    "/sbin",           "/bin",           "/usr/local/games", "/usr/games"};

// A directory ending in one of these names of two parts or more (".../usr/bin") is a copy of
// that tree: an unpacked package, a staged install. One-part names (/bin) match only whole.
bool isOrEndsIn(std::string_view directory, std::string_view systemDirectory) {
    if (systemDirectory.empty()) return false;
    if (directory == systemDirectory) return true;
    const bool twoParts = systemDirectory.find('/', 1) != std::string_view::npos;
    return twoParts && directory.ends_with(systemDirectory);
}

bool isSystemProgramDirectory(const QByteArray& directory) {
    const std::string_view name(directory.constData(), size_t(directory.size()));
    for (const std::string_view system : kSystemProgramDirectories) {
        if (isOrEndsIn(name, system)) return true;
    }
    return isOrEndsIn(name, kInstallProgramDirectory);
}

std::optional<QByteArray> userName(uid_t uid) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) {
        return std::nullopt;
    }
    return QByteArray(found->pw_name);
}

// Whether the group `gid` holds the user `uid` alone: no other member, and no other user's own
// group, as with Debian's user private groups.
bool groupHoldsUserAlone(gid_t gid, uid_t uid) {
    const std::optional<QByteArray> name = userName(uid);
    const group* const holders = ::getgrgid(gid);
    if (!name || holders == nullptr) return false;
    for (char* const* member = holders->gr_mem; *member != nullptr; ++member) {
        if (*name != *member) return false;
    }
    bool alone = true;
    ::setpwent();
    while (const passwd* const user = ::getpwent()) {
        if (user->pw_gid == gid && user->pw_uid != uid) alone = false;
    }
    ::endpwent();
    return alone;
}

// Whether `directory` is a directory of the effective user's that no other user may write, so
// that no one else can put a file or a link into it.
bool isUsersOwnDirectory(const QByteArray& directory) {
    struct stat info {};
    if (::stat(directory.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    const uid_t user = ::geteuid();
    return info.st_uid == user && (info.st_mode & S_IWOTH) == 0 &&
           ((info.st_mode & S_IWGRP) == 0 || groupHoldsUserAlone(info.st_gid, user));
}

// Whether this process may create and write files in `directory` (write and search permission,
// on a file system that is not read-only), judged with its effective ids as the writes will be.
bool userCanWriteIn(const QByteArray& directory) {
    return ::faccessat(AT_FDCWD, directory.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool isRoot(const QByteArray& path) { return QDir::cleanPath(QFile::decodeName(path)) == u"/"; }

std::optional<QByteArray> homeDirectory() {
    const QByteArray home = qgetenv("HOME");
    if (home.startsWith('/')) return home;
    // Without a usable HOME the home is the password database's, never the current directory.
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        found->pw_dir[0] != '/') {
        return std::nullopt;
    }
    return QByteArray(found->pw_dir);
}

bool isDirectory(const QByteArray& path) {
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Makes `directory` and the directories missing above it, private to the user, as the XDG Base
// Directory rules ask of the base directories.
bool makePrivateDirectory(const QByteArray& directory) {
    if (isDirectory(directory)) return true;
    const qsizetype slash = directory.lastIndexOf('/');
    if (slash > 0 && !makePrivateDirectory(directory.left(slash))) return false;
    return ::mkdir(directory.constData(), 0700) == 0 || (errno == EEXIST && isDirectory(directory));
}

// The tinglan directory under a per-user base directory, made when missing; empty when there is
// no base or the directory cannot be made or is not the user's own.
QString perUserDirectory(const char* variable, const char* underHome) {
    const std::optional<QByteArray> base = perUserBaseDirectory(variable, underHome);
    if (!base) return {};
    // The home itself is never made: a missing home means the files have no place.
    const std::optional<QByteArray> home = homeDirectory();
    if (home && base->startsWith(*home + '/') && !isDirectory(*home)) return {};
    const QByteArray directory = *base + '/' + kApplicationDirectoryName;
    if (!makePrivateDirectory(directory) || !isUsersOwnDirectory(directory)) return {};
    return representablePath(directory).value_or(QString());
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

std::optional<QByteArray> perUserBaseDirectory(const char* variable, const char* underHome) {
    const QByteArray value = qgetenv(variable);
    // The XDG Base Directory rules: a relative path in these variables is invalid and ignored.
    if (value.startsWith('/')) {
        if (isRoot(value)) return std::nullopt;
        return value;
    }
    const std::optional<QByteArray> home = homeDirectory();
    if (!home || isRoot(*home)) return std::nullopt;
    return *home + '/' + underHome;
}

FileLocations resolveFileLocations(const std::optional<QString>& programDirectory) {
    if (programDirectory) {
        const QByteArray directory = QFile::encodeName(*programDirectory);
        if (isUsersOwnDirectory(directory) && userCanWriteIn(directory) &&
            !isSystemProgramDirectory(directory)) {
            return fileLocationsIn(*programDirectory);
        }
    }
    return {pathIn(perUserDirectory("XDG_CONFIG_HOME", ".config"), kSettingsFileName),
            pathIn(perUserDirectory("XDG_DATA_HOME", ".local/share"), kHistoryFileName)};
}
