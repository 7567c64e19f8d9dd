// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/atomic_replace.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>

#include "textfiles/file_descriptor.h"
#include "textfiles/own_links.h"

namespace {

// The name of a temporary file is the target's, hidden, with this mark and kRandomLength
// letters or digits: no user names a file so, and a leftover is known by its name alone.
constexpr QByteArrayView kTemporaryMark = ".tinglan-new-";
constexpr qsizetype kRandomLength = 6;
constexpr QByteArrayView kRandomCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// Enough tries that only a directory full of such names runs out of them.
constexpr int kNameTries = 100;

QByteArray fileNameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

QByteArray temporaryPrefix(const QByteArray& target) {
    return '.' + fileNameOf(target) + kTemporaryMark.toByteArray();
}

bool isTemporaryName(QByteArrayView name, const QByteArray& prefix) {
    if (name.size() != prefix.size() + kRandomLength || !name.startsWith(prefix)) return false;
    for (const char c : name.sliced(prefix.size())) {
        if (!kRandomCharacters.contains(c)) return false;
    }
    return true;
}

// Creates a new temporary file for `target` (never through a link, never over anything), with
// `mode` less the umask; its path goes to `path`. Returns the descriptor, or -1.
int createTemporary(const QByteArray& target, mode_t mode, QByteArray& path) {
    const QByteArray prefix = directoryOf(target) + '/' + temporaryPrefix(target);
    for (int tries = 0; tries < kNameTries; ++tries) {
        path = prefix;
        for (qsizetype i = 0; i < kRandomLength; ++i) {
            path += kRandomCharacters[QRandomGenerator::global()->bounded(
                int(kRandomCharacters.size()))];
        }
        const int fd =
            ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes all of `bytes`; a short write (a size limit, a full disk) is followed by another until
// the rest is written or the write fails outright.
bool writeAll(int fd, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.sliced(written);
    }
    return true;
}

// Gives the new file the old one's permissions, owner and group; umask may have taken bits.
bool keepAttributes(int fd, const KeptAttributes& keep) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) return false;
    // A file that another user (root, say) writes must stay its owner's file.
    if ((made.st_uid != keep.uid || made.st_gid != keep.gid) &&
        ::fchown(fd, keep.uid, keep.gid) != 0) {
        return false;
    }
    // After fchown, which clears the set-user-ID and set-group-ID bits.
    return ::fchmod(fd, keep.mode & 07777) == 0;
}

}  // namespace

bool replaceFile(const QByteArray& target, QByteArrayView bytes,
                 std::optional<KeptAttributes> keep) {
    // A file the user may not write stays as it is, even where the directory would let a rename
    // replace it.
    if (keep && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0) return false;
    QByteArray temporary;
    FileDescriptor fd(createTemporary(target, keep ? keep->mode & 0777 : 0666, temporary));
    if (fd.get() < 0) return false;
    // fdatasync() and close() are checked too: a file system may report a failed write only
    // there, and a file renamed in place before its bytes are on disk may come back empty after
    // a power cut.
    const bool written = (!keep || keepAttributes(fd.get(), *keep)) && writeAll(fd.get(), bytes) &&
                         ::fdatasync(fd.get()) == 0 && fd.close();
    if (!written || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return syncDirectory(directoryOf(target));
}

void removeLeftoverTemporaries(const QByteArray& target) {
    const QByteArray directory = directoryOf(target);
    const QByteArray prefix = temporaryPrefix(target);
    DIR* const entries = ::opendir(directory.constData());
    if (entries == nullptr) return;
    while (const dirent* const entry = ::readdir(entries)) {
        if (!isTemporaryName(entry->d_name, prefix)) continue;
        // Only a file of that name: a directory or a link named so is left alone.
        struct stat info {};
        if (::fstatat(::dirfd(entries), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            ::unlinkat(::dirfd(entries), entry->d_name, 0);
        }
    }
    ::closedir(entries);
}
