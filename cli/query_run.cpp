// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/query_run.h"

#include <cstdio>
#include <cstring>
#include <span>

#include "cli/input.h"
#include "cli/query_printer.h"
#include "cli/utf8_lines.h"

namespace {

// Turns the decoded input of one text after another into answer lines.
class Answerer {
public:
    // `sourceKind` names a text in messages ("argument", "line"); with `linesAreTexts`, every
    // line end starts the next text.
    Answerer(QueryMode mode, AnswerFormat format, StandardOutput& output, const char* sourceKind,
             bool linesAreTexts)
        : m_mode(mode),
          m_output(output),
          m_sourceKind(sourceKind),
          m_linesAreTexts(linesAreTexts),
          m_printer(format) {}

    // Starts text number `number` (counted from 1).
    void beginText(std::size_t number) {
        m_number = number;
        m_textInvalid = false;
        m_haveFirst = false;
    }

    void characters(std::span<const char32_t> codePoints) {
        if (m_mode == QueryMode::eachCharacter) {
            m_printer.answer(codePoints, m_output);
        } else if (!m_haveFirst) {
            m_first = codePoints.front();
            m_haveFirst = true;
        }
    }

    void invalidBytes() {
        if (!m_textInvalid) report();
        m_textInvalid = true;
        if (m_mode == QueryMode::eachCharacter) m_printer.emptyAnswer(m_output);
    }

    void lineEnd() {
        if (m_mode == QueryMode::firstCharacter) {
            if (m_haveFirst && !m_textInvalid) {
                m_printer.answer({&m_first, 1}, m_output);
            } else {
                m_printer.emptyAnswer(m_output);
            }
        }
        if (m_linesAreTexts) beginText(m_number + 1);
    }

    bool sawInvalidText() const { return m_sawInvalid; }

private:
    void report() {
        m_sawInvalid = true;
        // On a terminal the message then follows the answers before it.
        m_output.flushIfInteractive();
        std::fprintf(stderr, "tinglan-query: %s %zu is not valid UTF-8\n", m_sourceKind, m_number);
    }

    QueryMode m_mode;
    StandardOutput& m_output;
    const char* m_sourceKind;
    bool m_linesAreTexts;
    QueryPrinter m_printer;
    std::size_t m_number = 1;
    bool m_textInvalid = false;
    bool m_sawInvalid = false;
    bool m_haveFirst = false;
    char32_t m_first = 0;
};

}  // namespace

bool answerTexts(const std::vector<std::string_view>& texts, QueryMode mode, AnswerFormat format,
                 StandardOutput& output) {
    Answerer answerer(mode, format, output, "argument", false);
    for (std::size_t i = 0; i < texts.size() && output.isOpen(); ++i) {
        answerer.beginText(i + 1);
        Utf8LineSplitter splitter(mode == QueryMode::eachCharacter);
        splitter.feed(texts[i], answerer);
        splitter.finish(answerer, true);
    }
    return !answerer.sawInvalidText();
}

bool answerStandardInput(QueryMode mode, AnswerFormat format, StandardOutput& output) {
    Answerer answerer(mode, format, output, "line", true);
    Utf8LineSplitter splitter(true);
    StandardInput input;
    for (;;) {
        // Whoever reads the answers gets them before the tool waits for the next line.
        output.flushIfInteractive();
        if (!output.isOpen()) break;
        const StandardInput::Result result = input.read();
        if (result == StandardInput::Result::end) {
            splitter.finish(answerer, false);
            break;
        }
        if (result == StandardInput::Result::failed) {
            output.flush();
            std::fprintf(stderr, "tinglan-query: cannot read standard input: %s\n",
                         std::strerror(input.errorNumber()));
            return false;
        }
        splitter.feed(input.data(), answerer);
    }
    return !answerer.sawInvalidText();
}
