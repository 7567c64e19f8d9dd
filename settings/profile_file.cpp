// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/profile_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// Linux gives up after 40 links too (ELOOP).
constexpr int kMaxLinkDepth = 40;

constexpr auto kLockWait = std::chrono::seconds(3);

constexpr qsizetype kTemporarySuffixLength = 6;

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Opens the lock file and waits, for as long as it takes, for its lock; -1 when the file cannot
// be opened.
int waitForLock(const QByteArray& path) {
    for (;;) {
        // Read-only is enough for flock() and lets a writer reuse a lock file another user's
        // crashed writer left; O_NOFOLLOW and O_NONBLOCK keep a planted link or FIFO harmless.
        const int fd = ::open(path.constData(),
                              O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
        if (fd < 0) return -1;
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            return -1;
        }
        // Let every user of the directory open it, whatever the umask.
        if (opened.st_uid == ::geteuid()) ::fchmod(fd, 0644);
        int locked = 0;
        do {
            locked = ::flock(fd, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            ::close(fd);
            return -1;
        }
        // The holder before us removes the lock file before it lets go: a lock on a file that
        // is no longer at the path serialises nothing, so start again with the path's file.
        struct stat atPath {};
        if (::stat(path.constData(), &atPath) == 0 && sameFile(opened, atPath)) return fd;
        ::close(fd);
    }
}

void releaseLock(const QByteArray& path, int fd) {
    // Removed while still locked, so no one can take the lock of a file that is gone: a waiter
    // that got hold of it sees so and starts again. A failed removal leaves a harmless file.
    ::unlink(path.constData());
    ::close(fd);
}

// A wait for the lock in a thread of its own. flock() has no time-out, and polling with
// LOCK_NB lets a busy writer take the lock again and again before a polling one looks.
struct LockWait {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool abandoned = false;
    int fd = -1;
};

int acquireLock(const QByteArray& path) {
    const auto wait = std::make_shared<LockWait>();
    try {
        std::thread([wait, path] {
            const int fd = waitForLock(path);
            const std::lock_guard<std::mutex> guard(wait->mutex);
            if (wait->abandoned) {
                if (fd >= 0) releaseLock(path, fd);
                return;
            }
            wait->fd = fd;
            wait->finished = true;
            wait->done.notify_one();
        }).detach();
    } catch (const std::system_error&) {
        return -1;
    }
    std::unique_lock<std::mutex> guard(wait->mutex);
    // A holder that hangs (stopped, say) costs a write, not the window; the waiting thread
    // lets go as soon as it gets the lock.
    if (!wait->done.wait_for(guard, kLockWait, [&] { return wait->finished; })) {
        wait->abandoned = true;
        return -1;
    }
    return wait->fd;
}

// QSaveFile names its temporary file after the target, a dot and six random ASCII letters. A
// suffix a user would type (all one case, or capitalised: "backup", "Backup") is never taken
// for one, at the price of leaving the few random names that look like that.
bool isTemporaryName(QStringView name, QStringView target) {
    if (name.size() != target.size() + 1 + kTemporarySuffixLength || !name.startsWith(target) ||
        name[target.size()] != u'.') {
        return false;
    }
    const QStringView suffix = name.sliced(target.size() + 1);
    bool lower = false;
    bool upperAfterFirst = false;
    for (qsizetype pos = 0; pos < suffix.size(); ++pos) {
        const QChar c = suffix[pos];
        if (c >= u'a' && c <= u'z') {
            lower = true;
        } else if (c >= u'A' && c <= u'Z') {
            upperAfterFirst = upperAfterFirst || pos > 0;
        } else {
            return false;
        }
    }
    return lower && upperAfterFirst;
}

// Writes all of `bytes`. A size limit or a full disk shows first as a short write, which QSaveFile
// does not count as an error, so commit() would put a cut file in place: the rest is written
// again until the write fails outright.
bool writeAll(QSaveFile& file, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const qint64 written = file.write(bytes.data(), bytes.size());
        if (written <= 0) return false;
        bytes = bytes.sliced(written);
    }
    return true;
}

}  // namespace

std::optional<QByteArray> readProfileFile(const QString& path) {
    const QByteArray name = nativePath(path);
    // Look before opening, so that no device is even opened; then check what was opened.
    struct stat info {};
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    const FileDescriptor fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > kMaxProfileFileBytes) {
        return std::nullopt;
    }
    // The size is only a hint: files under /proc report 0 and may hold far more, and a file may
    // grow while it is read. One byte beyond the limit tells a too-large file.
    QByteArray bytes;
    qsizetype used = 0;
    bytes.resize(qsizetype(info.st_size) + 1);
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

std::optional<QString> profileWriteTarget(const QString& path) {
    QString current = path;
    for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
        const QFileInfo info(current);
        if (!info.isSymLink()) return current;
        current = info.symLinkTarget();
        if (current.isEmpty()) return std::nullopt;
    }
    return std::nullopt;
}

ProfileWriteLock::ProfileWriteLock(const QString& target)
    : m_path(nativePath(target + QStringLiteral(".lock"))), m_fd(acquireLock(m_path)) {}

ProfileWriteLock::~ProfileWriteLock() {
    if (m_fd >= 0) releaseLock(m_path, m_fd);
}

void removeLeftoverTemporaries(const QString& target) {
    const QFileInfo info(target);
    const QString name = info.fileName();
    QDirIterator entries(info.path(), QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    while (entries.hasNext()) {
        const QString entry = entries.next();
        if (isTemporaryName(QFileInfo(entry).fileName(), name)) QFile::remove(entry);
    }
}

bool replaceProfileFile(const QString& target, QByteArrayView bytes,
                        std::optional<FileOwner> owner) {
    // A file that no read would take is no settings file.
    if (bytes.size() > kMaxProfileFileBytes) return false;
    // open() refuses a file the user may not write, even where the directory would let a
    // rename replace it, and gives the temporary file the old file's permissions. Unbuffered,
    // so that each write reports what really reached the file.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (owner) {
        // A file that another user (root, say) writes must stay its owner's file.
        struct stat made {};
        if (::fstat(file.handle(), &made) != 0) return false;
        if (made.st_uid != owner->uid || made.st_gid != owner->gid) {
            if (::fchown(file.handle(), owner->uid, owner->gid) != 0) return false;
        }
    }
    // Leaving without commit() discards the temporary file and keeps the old one.
    return writeAll(file, bytes) && file.commit();
}
