// SPDX-License-Identifier: GPL-3.0-or-later
// Standard output of the tool: buffered, every write checked, written out early where a reader
// may be waiting for it.
#pragma once

#include <cstddef>
#include <memory>
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

    // Returns where the next `size` bytes (at most kMaxReserve) may be written in place, writing
    // the buffer out first if they would not fit; commit() then takes them. Once the output is
    // no longer open, what is written there is dropped.
    char* reserve(std::size_t size) {
        if (static_cast<std::size_t>(m_bufferEnd - m_next) < size) flush();
        return m_next;
    }

    // Takes the bytes written from the last reserve() up to `end`.
    void commit(char* end) { m_next = end; }

    // Appends `text`, writing the buffer out as it fills; does nothing once not open.
    void write(std::string_view text);

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

    static constexpr std::size_t kMaxReserve = 8 * 1024;

private:
    static constexpr std::size_t kCapacity = 64 * 1024;

    std::unique_ptr<char[]> m_buffer;
    char* m_next;
    char* m_bufferEnd;
    bool m_interactive;
    State m_state = State::open;
    int m_errorNumber = 0;
};
