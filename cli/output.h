// SPDX-License-Identifier: GPL-3.0-or-later
// Standard output of the tool: buffered, every write checked, written out early where a reader
// may be waiting for it.
#pragma once

#include <string>
#include <string_view>

class StandardOutput {
public:
    enum class State {
        open,
        closedByReader,  // the reading end of a pipe went away (EPIPE): stop quietly
        failed,          // any other write error: report it
    };

    // Buffers whole blocks for a file or device, and writes out at every flushIfInteractive()
    // when standard output is a terminal, a pipe or a socket.
    StandardOutput();

    // Appends `text`, writing the buffer out once it is full; does nothing once not open.
    void write(std::string_view text) {
        if (m_state != State::open) return;
        m_buffer.append(text);
        if (m_buffer.size() >= kCapacity) flush();
    }

    // Writes out everything buffered; returns whether the output is still open.
    bool flush();

    // Writes out everything buffered if someone may be reading it as it comes: call before
    // waiting for more input.
    void flushIfInteractive() {
        if (m_interactive) flush();
    }

    State state() const { return m_state; }
    bool isOpen() const { return m_state == State::open; }
    // Returns the errno of the write that ended the output, or 0 while it is open.
    int errorNumber() const { return m_errorNumber; }

private:
    static constexpr std::size_t kCapacity = 64 * 1024;

    std::string m_buffer;
    bool m_interactive;
    State m_state = State::open;
    int m_errorNumber = 0;
};
