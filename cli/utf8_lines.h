// SPDX-License-Identifier: GPL-3.0-or-later
// Decodes UTF-8 as it arrives into characters, line ends and runs of invalid bytes, so that a
// line of any length is answered without being held. Written here because the C and C++
// libraries decode only through the locale and stop at the first invalid byte, and the tool
// must answer the rest of a line after one, on whatever block boundary a sequence is cut.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

// What a Utf8LineSplitter reports to, in input order:
//   void characters(std::span<const char32_t>);  // decoded characters of the current line
//   void invalidBytes();                         // a run of bytes that is not UTF-8, once per run
//   void lineEnd();                              // the current line ended
template <class Sink>
concept LineSink = requires(Sink& sink, std::span<const char32_t> codePoints) {
    sink.characters(codePoints);
    sink.invalidBytes();
    sink.lineEnd();
};

class Utf8LineSplitter {
public:
    // With `splitLines`, LF and CR LF end a line and are not characters; without it, every byte
    // belongs to the one line that finish() ends.
    explicit Utf8LineSplitter(bool splitLines) : m_splitLines(splitLines) {}

    // Reports the characters, line ends and invalid runs of the next `bytes` of the input; a
    // sequence cut by the end of `bytes` continues in the next call.
    template <LineSink Sink>
    void feed(std::string_view bytes, Sink& sink) {
        const auto* next = reinterpret_cast<const unsigned char*>(bytes.data());
        const auto* const end = next + bytes.size();
        // The common characters, plain ASCII and whole three-byte sequences, are decoded where
        // they lie within `bytes`, into runs that the sink takes at once; a line end, any other
        // sequence, an invalid byte and a sequence cut by the end of `bytes` go through the
        // byte-by-byte decoder, after the run before them.
        char32_t run[kRunSize];
        std::size_t count = 0;
        while (next != end) {
            const unsigned char lead = *next;
            if (m_needed == 0 && !m_pendingCr && count < kRunSize) {
                if (lead < 0x80 && lead != '\n' && lead != '\r') {
                    run[count++] = lead;
                    ++next;
                    continue;
                }
                if (lead >= 0xE0 && lead <= 0xEF && end - next >= 3) {
                    const unsigned char second = next[1];
                    const unsigned char third = next[2];
                    // As below: no overlong forms (E0) and no surrogates (ED).
                    const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
                    const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
                    if (second >= low && second <= high && (third & 0xC0) == 0x80) {
                        run[count++] =
                            (lead & 0x0Fu) << 12 | (second & 0x3Fu) << 6 | (third & 0x3Fu);
                        next += 3;
                        continue;
                    }
                }
            }
            // The run is full, or the next byte needs the decoder below.
            characters({run, count}, sink);
            const bool full = count == kRunSize;
            count = 0;
            if (!full) feedByte(*next++, sink);
        }
        characters({run, count}, sink);
    }

    // Ends the input: an unfinished sequence is invalid, a CR at the very end ends the line,
    // and the last line is ended if it holds any bytes (or always, with `endEmptyLine`).
    template <LineSink Sink>
    void finish(Sink& sink, bool endEmptyLine) {
        if (m_pendingCr) {
            m_pendingCr = false;
            endLine(sink);
            return;
        }
        if (m_needed > 0) {
            m_needed = 0;
            invalid(sink);
        }
        if (m_lineHasBytes || endEmptyLine) endLine(sink);
    }

private:
    template <LineSink Sink>
    void feedByte(unsigned char byte, Sink& sink) {
        m_lineHasBytes = true;
        if (m_pendingCr) {
            m_pendingCr = false;
            if (byte == '\n') {
                endLine(sink);
                return;
            }
            character(U'\r', sink);
        }
        if (m_needed > 0) {
            if (byte >= m_low && byte <= m_high) {
                m_codePoint = (m_codePoint << 6) | (byte & 0x3Fu);
                m_low = 0x80;
                m_high = 0xBF;
                if (--m_needed == 0) character(m_codePoint, sink);
                return;
            }
            // The sequence so far is invalid; this byte may still start a good one.
            m_needed = 0;
            invalid(sink);
        }
        if (byte < 0x80) {
            if (m_splitLines && byte == '\n') {
                endLine(sink);
            } else if (m_splitLines && byte == '\r') {
                m_pendingCr = true;
            } else {
                character(byte, sink);
            }
            return;
        }
        // The ranges of the second byte rule out overlong forms, surrogates and code points
        // past U+10FFFF (the table of well-formed sequences in the Unicode standard).
        m_low = 0x80;
        m_high = 0xBF;
        if (byte >= 0xC2 && byte <= 0xDF) {
            start(1, byte & 0x1Fu);
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            if (byte == 0xE0) m_low = 0xA0;
            if (byte == 0xED) m_high = 0x9F;
            start(2, byte & 0x0Fu);
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            if (byte == 0xF0) m_low = 0x90;
            if (byte == 0xF4) m_high = 0x8F;
            start(3, byte & 0x07u);
        } else {
            invalid(sink);
        }
    }

    void start(int needed, char32_t leadBits) {
        m_needed = needed;
        m_codePoint = leadBits;
    }

    template <LineSink Sink>
    void character(char32_t codePoint, Sink& sink) {
        characters({&codePoint, 1}, sink);
    }

    template <LineSink Sink>
    void characters(std::span<const char32_t> codePoints, Sink& sink) {
        if (codePoints.empty()) return;
        m_lineHasBytes = true;
        m_inInvalidRun = false;
        sink.characters(codePoints);
    }

    template <LineSink Sink>
    void invalid(Sink& sink) {
        if (m_inInvalidRun) return;
        m_inInvalidRun = true;
        sink.invalidBytes();
    }

    template <LineSink Sink>
    void endLine(Sink& sink) {
        m_inInvalidRun = false;
        m_lineHasBytes = false;
        sink.lineEnd();
    }

    static constexpr std::size_t kRunSize = 256;

    bool m_splitLines;
    bool m_lineHasBytes = false;
    bool m_pendingCr = false;
    bool m_inInvalidRun = false;
    int m_needed = 0;  // continuation bytes still to come in the current sequence
    unsigned char m_low = 0x80;
    unsigned char m_high = 0xBF;
    char32_t m_codePoint = 0;
};
