// SPDX-License-Identifier: GPL-3.0-or-later
// Writes query results as the command-line tool's UTF-8 answers: tab-separated lines, blocks
// of every code and reading, or JSON lines.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "cli/output.h"
#include "cli/utf8_text.h"
#include "tables/groups.h"

enum class AnswerFormat {
    line,   // character TAB wubi TAB pinyin, as the window answers
    block,  // --all: every code and reading, for a person
    json,   // --json: everything, for scripts
};

class QueryPrinter {
public:
    explicit QueryPrinter(AnswerFormat format) : m_format(format) {}

    // Writes the answers for `codePoints` in the printer's format, each ending in LF. In the
    // line format an answer is "character TAB wubi TAB pinyin LF", exactly as the window would
    // answer; there and in the block format a control character is written as its code point
    // ("U+0009"), so that the answer keeps its lines.
    void answer(std::span<const char32_t> codePoints, StandardOutput& output) {
        if (m_format != AnswerFormat::line) {
            for (const char32_t codePoint : codePoints) writeWithDetails(codePoint, output);
            return;
        }
        const std::span<const AnswerText> texts = m_answerTexts;
        while (!codePoints.empty()) {
            const std::size_t count = std::min(codePoints.size(), kLinesAtOnce);
            char* out = output.reserve(count * kMaxLine);
            for (const char32_t codePoint : codePoints.first(count)) {
                out = isControl(codePoint) ? putCodePointName(codePoint, out)
                                           : putUtf8(codePoint, out);
                *out++ = '\t';
                // Every unit outside the keys' range (and every code point past the BMP) takes
                // the last text, held nowhere.
                const AnswerText& answer = texts[std::min<char32_t>(
                    codePoint - kFirstKeyUnit, static_cast<char32_t>(texts.size() - 1))];
                std::memcpy(out, answer.text, sizeof answer.text);
                out += answer.size;
                *out++ = '\n';
            }
            output.commit(out);
            codePoints = codePoints.subspan(count);
        }
    }

    // Writes the answer to an empty or invalid text: an empty line ("null" in JSON).
    void emptyAnswer(StandardOutput& output) const {
        output.write(m_format == AnswerFormat::json ? "null\n" : "\n");
    }

    // Writes every row of every group in table order: letter, character, code, syllable.
    static void dump(StandardOutput& output);

    // Writes the characters and phrases that `code` types, in offer order: a line of character,
    // code point and level, or of phrase, code points and "phrase", each; or one JSON line for
    // all of them.
    static void offersOfCode(std::string_view code, bool json, StandardOutput& output);

private:
    // The most a line writes: "U+0085", a tab, an answer text (copied whole) and a line feed.
    static constexpr std::size_t kMaxLine = 6 + 1 + sizeof AnswerText::text + 1;
    // The lines written into one reservation of the output.
    static constexpr std::size_t kLinesAtOnce = StandardOutput::kMaxReserve / kMaxLine;

    // Writes the block or JSON answer for `codePoint`, made from the details the first time.
    void writeWithDetails(char32_t codePoint, StandardOutput& output);

    // Where a BMP character's block or JSON answer stands in m_answers; size 0 until made.
    struct StoredAnswer {
        std::uint32_t offset;
        std::uint32_t size;
    };
    static constexpr char32_t kStoredUnits = 0x10000;

    AnswerFormat m_format;
    std::span<const AnswerText> m_answerTexts = answerTexts();
    // The block and JSON answers made so far, one after another. Made from the details, they
    // cost far more than a copy, and a long text repeats few characters: from the second answer
    // on, each is kept for the next time its character comes. The index is zeroed by calloc,
    // whose fresh pages cost nothing until an answer is kept in them.
    std::string m_answers;
    std::unique_ptr<StoredAnswer[], void (*)(void*)> m_storedAnswers{nullptr, std::free};
};
