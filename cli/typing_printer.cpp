// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/typing_printer.h"

#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

#include "cli/json_text.h"
#include "cli/utf8_text.h"

namespace {

// The most a piece's line takes: an untyped run of 64 control characters by name, or a word's
// characters, code, position and full codes, with room to spare.
constexpr std::size_t kMaxPieceLine = 512;

// Copies byte by byte: the texts are a few letters, for which a call of memcpy costs more.
char* putText(std::string_view text, char* out) {
    for (const char byte : text) *out++ = byte;
    return out;
}

// Copies all four bytes and keeps the code's letters: a fixed copy costs less than a loop.
char* putCode(const phrases::CodeLetters& code, char* out) {
    std::memcpy(out, code.letters.data(), code.letters.size());
    return out + code.length;
}

char* putNumber(std::uint64_t number, char* out) {
    return std::to_chars(out, out + 20, number).ptr;
}

}  // namespace

TypingPrinter::TypingPrinter(bool json, StandardOutput& output)
    : m_json(json), m_output(output), m_coach([this](const phrases::TypingPiece& piece) {
          m_json ? writeJsonPiece(piece) : writePiece(piece);
      }) {}

void TypingPrinter::characters(std::span<const char32_t> codePoints) { m_coach.feed(codePoints); }

void TypingPrinter::invalidBytes() {
    m_coach.flush();
    m_output.write(m_json ? "null\n" : "\n");
}

void TypingPrinter::lineEnd() { m_coach.flush(); }

void TypingPrinter::writePiece(const phrases::TypingPiece& piece) {
    char* out = m_output.reserve(kMaxPieceLine);
    if (piece.kind == phrases::PieceKind::Untyped) {
        out = putShownText(piece.text, out);
        m_output.commit(putText("\tNone!\n", out));
        return;
    }
    // Typed text holds no control character: no code types one.
    for (const char32_t codePoint : piece.text) out = putUtf8(codePoint, out);
    *out++ = '\t';
    out = putCode(piece.code, out);
    if (piece.position != 1) {
        *out++ = ' ';
        out = putNumber(piece.position, out);
    }
    char separator = '\t';
    for (const phrases::CodeLetters& full : piece.fullCodes) {
        *out++ = separator;
        out = putCode(full, out);
        separator = ' ';
    }
    *out++ = '\n';
    m_output.commit(out);
}

void TypingPrinter::writeJsonPiece(const phrases::TypingPiece& piece) {
    std::string out = "{\"text\":";
    appendJsonString(piece.text, out);
    switch (piece.kind) {
        case phrases::PieceKind::Untyped:
            m_output.write(out += ",\"kind\":\"untyped\"}\n");
            return;
        case phrases::PieceKind::Word:
            out += ",\"kind\":\"word\"";
            break;
        case phrases::PieceKind::Character:
            out += ",\"kind\":\"character\"";
            break;
    }
    // Codes are letters, which need no escaping.
    out += ",\"code\":\"";
    out += piece.code.view();
    out += "\",\"position\":";
    out += std::to_string(piece.position);
    out += ",\"fullCodes\":[";
    const char* separator = "";
    for (const phrases::CodeLetters& full : piece.fullCodes) {
        ((out += separator) += '"') += full.view();
        out += '"';
        separator = ",";
    }
    m_output.write(out += "]}\n");
}

void TypingPrinter::writeSummary() {
    m_coach.flush();
    const phrases::TypingSummary& summary = m_coach.summary();
    char line[160];
    char* out = line;
    out = putText(m_json ? "{\"keys\":{\"shortest\":" : "keys: shortest ", out);
    out = putNumber(summary.keys.shortest, out);
    out = putText(m_json ? ",\"full\":" : ", full ", out);
    out = putNumber(summary.keys.full, out);
    out = putText(m_json ? ",\"pinyin\":" : ", pinyin ", out);
    out = putNumber(summary.keys.pinyin, out);
    out = putText(m_json ? "},\"untyped\":" : "\nleft out: untyped ", out);
    out = putNumber(summary.untyped, out);
    out = putText(m_json ? ",\"noReading\":" : ", no reading ", out);
    out = putNumber(summary.withoutReading, out);
    out = putText(m_json ? "}\n" : "\n", out);
    m_output.write({line, static_cast<std::size_t>(out - line)});
}
