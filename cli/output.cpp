// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/output.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

StandardOutput::StandardOutput()
    : m_buffer(std::make_unique_for_overwrite<char[]>(kCapacity)),
      m_next(m_buffer.get()),
      m_bufferEnd(m_buffer.get() + kCapacity) {
    struct stat status {};
    m_interactive =
        ::isatty(STDOUT_FILENO) == 1 || (::fstat(STDOUT_FILENO, &status) == 0 &&
                                         (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode)));
}

void StandardOutput::write(std::string_view text) {
    while (!text.empty() && isOpen()) {
        if (m_next == m_bufferEnd) flush();
        const std::size_t size = std::min(text.size(), std::size_t(m_bufferEnd - m_next));
        std::memcpy(m_next, text.data(), size);
        m_next += size;
        text.remove_prefix(size);
    }
}

bool StandardOutput::flush() {
    const char* written = m_buffer.get();
    while (m_state == State::open && written < m_next) {
        const ssize_t n = ::write(STDOUT_FILENO, written, m_next - written);
        if (n >= 0) {
            written += n;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // Standard output was left non-blocking by whoever shares it: wait as a write would.
            pollfd writable{STDOUT_FILENO, POLLOUT, 0};
            ::poll(&writable, 1, -1);
        } else if (errno != EINTR) {
            m_errorNumber = errno;
            m_state = errno == EPIPE ? State::closedByReader : State::failed;
        }
    }
    m_next = m_buffer.get();
    return m_state == State::open;
}
