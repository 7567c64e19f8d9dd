// SPDX-License-Identifier: GPL-3.0-or-later
// Standard input of the tool, read in blocks as they arrive, so that no line is held whole.
#pragma once

#include <memory>
#include <string_view>

class StandardInput {
public:
    enum class Result { data, end, failed };

    StandardInput();

    // Waits until some input arrives, the input ends or reading fails; after `data`, data()
    // holds the bytes read, at most one block.
    Result read();

    // Returns the bytes of the last successful read.
    std::string_view data() const { return {m_block.get(), m_size}; }
    // Returns the errno of the failed read, or 0.
    int errorNumber() const { return m_errorNumber; }

private:
    static constexpr std::size_t kBlockSize = 64 * 1024;

    std::unique_ptr<char[]> m_block;
    std::size_t m_size = 0;
    int m_errorNumber = 0;
};
