// SPDX-License-Identifier: GPL-3.0-or-later
#include "textfiles/own_links.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Linux gives up after 40 links too (ELOOP).
constexpr int kMaxLinks = 40;

bool ownedByUserOrRoot(const struct stat& info) {
    return info.st_uid == ::geteuid() || info.st_uid == 0;
}

}  // namespace

QByteArray directoryOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

std::optional<LinkEnd> followOwnLinks(const QByteArray& path) {
    LinkEnd end{path, false};
    for (int links = 0;; ++links) {
        struct stat info {};
        // A name that cannot be looked at is no link as far as this goes; opening it will tell.
        if (::lstat(end.path.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) return end;
        // Another user's link may point at any file of this user's: it is never followed.
        if (links == kMaxLinks || !ownedByUserOrRoot(info)) return std::nullopt;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(end.path.constData(), target.data(), target.size());
        if (length <= 0 || length >= target.size()) return std::nullopt;
        target.truncate(length);
        // A relative target is relative to the directory that holds the link.
        end = {target.startsWith('/') ? target : directoryOf(end.path) + '/' + target, true};
    }
}
