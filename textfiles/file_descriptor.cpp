// SPDX-License-Identifier: GPL-3.0-or-later
#include "textfiles/file_descriptor.h"

#include <fcntl.h>
#include <unistd.h>

FileDescriptor::~FileDescriptor() {
    // Only descriptors whose closing cannot lose written bytes are left to this.
    if (m_fd >= 0) ::close(m_fd);
}

bool FileDescriptor::close() {
    const int fd = m_fd;
    m_fd = -1;
    // Linux releases the descriptor even when close() fails, so it is never tried twice.
    return fd >= 0 && ::close(fd) == 0;
}

bool syncDirectory(const QByteArray& directory) {
    FileDescriptor fd(::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.get() >= 0 && ::fsync(fd.get()) == 0 && fd.close();
}
