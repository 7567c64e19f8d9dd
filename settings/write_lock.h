// SPDX-License-Identifier: GPL-3.0-or-later
// The lock that makes writers of the settings file in several processes take turns.
#pragma once

#include <QByteArray>

// While it lives, holds the lock of the directory `directory` (a native path) that makes the
// settings writers in it take turns between processes: flock() on the directory itself, so that
// no lock file is made and nothing planted under any name can stand in the way. The kernel drops
// a dead holder's lock. Waits at most 0.18 s for a live holder, in the calling thread, so that a
// click stays within 0.2 s, and keeps no descriptor when it gives up.
class ProfileWriteLock {
public:
    explicit ProfileWriteLock(const QByteArray& directory);
    ~ProfileWriteLock();
    ProfileWriteLock(const ProfileWriteLock&) = delete;
    ProfileWriteLock& operator=(const ProfileWriteLock&) = delete;

    // Returns whether the writer may go on: the lock is held, or the directory's file system
    // keeps no such locks (some network file systems), where writers cannot take turns at all.
    // False when the directory cannot be opened or another writer held it for the whole wait.
    bool allowsWriting() const { return m_allowsWriting; }

private:
    int m_fd = -1;
    bool m_allowsWriting = false;
};
