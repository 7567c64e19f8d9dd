// SPDX-License-Identifier: GPL-3.0-or-later
// The typing coach over standard input, one line a piece and the key counts on standard output,
// with no more than it takes to print them: bench/cli_bench.py times it against tinglan-query
// --each on the same text.
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/utf8_lines.h"
#include "tables/typing_coach.h"

namespace {

// Prints the pieces as tinglan-query would into a buffer written out when nearly full; a
// character's line is made once and kept, as --each keeps its answers.
class Printer {
public:
    Printer() : m_characterLines(0x10000) {}

    void piece(const phrases::TypingPiece& piece) {
        if (m_size > kCapacity - kLongestLine) write();
        if (piece.kind == phrases::PieceKind::Character && piece.text[0] <= 0xFFFF) {
            CharacterLine& line = m_characterLines[piece.text[0]];
            if (line.size == 0) {
                char made[kLongestLine];
                line.size = static_cast<unsigned char>(format(made, piece));
                std::memcpy(line.bytes.data(), made, line.bytes.size());
            }
            // The whole slot, whose size the compiler knows: no call for a few bytes.
            std::memcpy(m_buffer.data() + m_size, line.bytes.data(), line.bytes.size());
            m_size += line.size;
        } else {
            m_size += format(m_buffer.data() + m_size, piece);
        }
    }

    void summary(const phrases::Keystrokes& keys) {
        if (m_size > kCapacity - kLongestLine) write();
        const std::string line = "keys: shortest " + std::to_string(keys.shortest) + ", full " +
                                 std::to_string(keys.full) + ", pinyin " +
                                 std::to_string(keys.pinyin) + "\n";
        std::memcpy(m_buffer.data() + m_size, line.data(), line.size());
        m_size += line.size();
    }

    bool write() {
        const bool written = std::fwrite(m_buffer.data(), 1, m_size, stdout) == m_size;
        m_size = 0;
        return written;
    }

private:
    static constexpr std::size_t kCapacity = 1 << 16;
    // An untyped run of 64 code points, or a word of 9 characters with its codes.
    static constexpr std::size_t kLongestLine = 4 * 64 + 1;

    static char* put(char* out, std::string_view text) {
        // Most codes have four letters, and a copy of a known size needs no call.
        if (text.size() == 4) {
            std::memcpy(out, text.data(), 4);
            return out + 4;
        }
        for (const char c : text) *out++ = c;
        return out;
    }

    static char* put(char* out, char32_t c) {
        if (c >= 0x800 && c < 0x10000) {  // most hanzi
            out[0] = static_cast<char>(0xE0 | c >> 12);
            out[1] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out[2] = static_cast<char>(0x80 | (c & 0x3F));
            return out + 3;
        }
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
            return out;
        }
        constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
        const int continuation = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        *out++ = static_cast<char>(kLead[continuation] | (c >> (6 * continuation)));
        for (int shift = 6 * (continuation - 1); shift >= 0; shift -= 6) {
            *out++ = static_cast<char>(0x80 | ((c >> shift) & 0x3F));
        }
        return out;
    }

    // Writes the piece's line at `out` and returns its size.
    static std::size_t format(char* const start, const phrases::TypingPiece& piece) {
        char* out = start;
        for (const char32_t c : piece.text) out = put(out, c);
        if (piece.kind != phrases::PieceKind::Untyped) {
            out = put(put(out, '\t'), piece.code);
            if (piece.position > 1) out = put(put(out, ' '), std::to_string(piece.position));
            out = put(out, '\t');
            for (std::string_view full : piece.fullCodes) out = put(put(out, full), ' ');
            --out;
        }
        *out++ = '\n';
        return static_cast<std::size_t>(out - start);
    }

    // A character's line: its character, code with position, and full code, 4 + 9 + 5 bytes.
    struct CharacterLine {
        std::array<char, 31> bytes;
        unsigned char size = 0;
    };

    std::array<char, kCapacity> m_buffer;
    std::size_t m_size = 0;
    std::vector<CharacterLine> m_characterLines;  // by BMP code point
};

struct CoachFeeder {
    phrases::TypingCoach& coach;
    void character(char32_t codePoint) { coach.feed(codePoint); }
    void invalidBytes() { coach.feed(U'\uFFFD'); }
    void lineEnd() { coach.flush(); }
};

}  // namespace

int main() {
    Printer printer;
    phrases::TypingCoach coach([&](const phrases::TypingPiece& piece) { printer.piece(piece); });
    CoachFeeder feeder{coach};
    Utf8LineSplitter splitter(true);
    std::array<char, 1 << 16> buffer;
    std::size_t size;
    while ((size = std::fread(buffer.data(), 1, buffer.size(), stdin)) > 0) {
        splitter.feed({buffer.data(), size}, feeder);
    }
    splitter.finish(feeder, false);
    printer.summary(coach.summary().keys);
    return printer.write() && std::fflush(stdout) == 0 ? 0 : 1;
}
