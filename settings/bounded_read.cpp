// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/bounded_read.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "textfiles/file_descriptor.h"
#include "textfiles/own_links.h"

namespace {

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

std::optional<QByteArray> readProfileFile(const QByteArray& path) {
    const std::optional<LinkEnd> end = followOwnLinks(path);
    if (!end) return std::nullopt;
    // Look before opening, so that no device is even opened; then check that what was opened is
    // what was looked at (O_NOFOLLOW: no link put there meanwhile is followed).
    struct stat seen {};
    if (::lstat(end->path.constData(), &seen) != 0 || !S_ISREG(seen.st_mode)) return std::nullopt;
    const FileDescriptor fd(
        ::open(end->path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW));
    struct stat opened {};
    if (fd.get() < 0 || ::fstat(fd.get(), &opened) != 0 || !sameFile(seen, opened) ||
        opened.st_size > kMaxProfileFileBytes) {
        return std::nullopt;
    }
    // The size is only a hint: files under /proc report 0 and may hold far more, and a file may
    // grow while it is read. One byte beyond the limit tells a too-large file.
    QByteArray bytes;
    qsizetype used = 0;
    bytes.resize(qsizetype(opened.st_size) + 1);
    for (;;) {
        if (used == bytes.size()) {
            if (used > kMaxProfileFileBytes) return std::nullopt;
            bytes.resize(std::min(bytes.size() * 2, kMaxProfileFileBytes + 1));
        }
        const ssize_t got = ::read(fd.get(), bytes.data() + used, size_t(bytes.size() - used));
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        used += got;
    }
    if (used > kMaxProfileFileBytes) return std::nullopt;
    bytes.truncate(used);
    return bytes;
}
