// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

StandardInput::StandardInput() : m_block(std::make_unique<char[]>(kBlockSize)) {}

StandardInput::Result StandardInput::read() {
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, m_block.get(), kBlockSize);
        if (n > 0) {
            m_size = static_cast<std::size_t>(n);
            return Result::data;
        }
        if (n == 0) return Result::end;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // Standard input was left non-blocking by whoever shares it: wait as a read would.
            pollfd readable{STDIN_FILENO, POLLIN, 0};
            ::poll(&readable, 1, -1);
        } else if (errno != EINTR) {
            m_errorNumber = errno;
            return Result::failed;
        }
    }
}
