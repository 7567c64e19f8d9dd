// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/output.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

StandardOutput::StandardOutput() {
    struct stat status {};
    m_interactive =
        ::isatty(STDOUT_FILENO) == 1 || (::fstat(STDOUT_FILENO, &status) == 0 &&
                                         (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode)));
    m_buffer.reserve(kCapacity + 1024);
}

bool StandardOutput::flush() {
    std::size_t written = 0;
    while (m_state == State::open && written < m_buffer.size()) {
        const ssize_t n =
            ::write(STDOUT_FILENO, m_buffer.data() + written, m_buffer.size() - written);
        if (n >= 0) {
            written += static_cast<std::size_t>(n);
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // Standard output was left non-blocking by whoever shares it: wait as a write would.
            pollfd writable{STDOUT_FILENO, POLLOUT, 0};
            ::poll(&writable, 1, -1);
        } else if (errno != EINTR) {
            m_errorNumber = errno;
            m_state = errno == EPIPE ? State::closedByReader : State::failed;
        }
    }
    m_buffer.clear();
    return m_state == State::open;
}
