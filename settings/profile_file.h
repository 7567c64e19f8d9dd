// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file on disk: bounded reads, the writers' lock and whole-file replacement.
#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// The largest file read as a settings file; a larger one counts as unreadable.
inline constexpr qsizetype kMaxProfileFileBytes = 1024 * 1024;

// Returns the bytes of the regular file at `path` (symbolic links followed), or nothing when
// there is none, it is larger than kMaxProfileFileBytes or it cannot be read. Never blocks on
// a FIFO or a device and never reads more than kMaxProfileFileBytes + 1 bytes of anything.
std::optional<QByteArray> readProfileFile(const QString& path);

// Returns the file that a write of `path` goes to: `path` with its symbolic links followed
// (the last one may dangle), or nothing for a loop or a chain of more than 40 links.
std::optional<QString> profileWriteTarget(const QString& path);

// While it lives, holds the lock that serialises the writers of the file `target` between
// processes: the lock file `target` + ".lock", locked with flock() and removed on release.
// The kernel drops a dead holder's lock, so a crashed writer never blocks a later one.
class ProfileWriteLock {
public:
    // Waits up to three seconds for the lock.
    explicit ProfileWriteLock(const QString& target);
    ~ProfileWriteLock();
    ProfileWriteLock(const ProfileWriteLock&) = delete;
    ProfileWriteLock& operator=(const ProfileWriteLock&) = delete;

    // Returns whether the lock is held.
    bool isHeld() const { return m_fd >= 0; }

private:
    QByteArray m_path;
    int m_fd = -1;
};

// Removes the temporaries that a killed save of `target` left beside it: regular files named
// like "SetValve.ini.AbCxyZ", though never like "SetValve.ini.backup" or ".Backup". Call only
// while holding the ProfileWriteLock of `target`: no save of ours is then under way, so none
// of them is in use.
void removeLeftoverTemporaries(const QString& target);

// The owner and group a replaced file keeps.
struct FileOwner {
    uid_t uid;
    gid_t gid;
};

// Replaces the file `target` (no symbolic link) by one holding `bytes`, or creates it, whole or
// not at all: a temporary file beside it, synced and renamed over it. The new file keeps the old
// one's permissions and, when `owner` is given, that owner and group. Returns false, leaving
// the old file as it was, when any step fails, the owner or group cannot be kept included, and
// for more than kMaxProfileFileBytes bytes, which no read would take.
[[nodiscard]] bool replaceProfileFile(const QString& target, QByteArrayView bytes,
                                      std::optional<FileOwner> owner);
