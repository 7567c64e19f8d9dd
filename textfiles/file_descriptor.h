// SPDX-License-Identifier: GPL-3.0-or-later
// Open file descriptors that close themselves, and syncing a directory after a change of names.
#pragma once

#include <QByteArray>

// An open file descriptor (or -1), closed when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    // Returns the descriptor, -1 when none is open.
    int get() const { return m_fd; }

    // Closes the descriptor now. Returns false when close() reports an error, which on some file
    // systems is the first sign that written bytes never reached the file.
    [[nodiscard]] bool close();

private:
    int m_fd;
};

// Syncs the directory `directory` (a native path), so that a file created, renamed or removed
// in it stays so after a power cut. Returns false when it cannot be opened, synced or closed.
[[nodiscard]] bool syncDirectory(const QByteArray& directory);
