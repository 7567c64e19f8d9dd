// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/text_run.h"

#include <cstdio>
#include <cstring>

#include "cli/input.h"
#include "cli/utf8_lines.h"

namespace {

// Numbers the texts, reports the first invalid run of each, and passes everything on.
class ReportingSink {
public:
    // `sourceKind` names a text in messages ("argument", "line"); with `linesAreTexts`, every
    // line end starts the next text.
    ReportingSink(TextAnswerer& answerer, StandardOutput& output, const char* sourceKind,
                  bool linesAreTexts)
        : m_answerer(answerer),
          m_output(output),
          m_sourceKind(sourceKind),
          m_linesAreTexts(linesAreTexts) {}

    // Starts text number `number` (counted from 1).
    void beginText(std::size_t number) {
        m_number = number;
        m_textInvalid = false;
    }

    void characters(std::span<const char32_t> codePoints) { m_answerer.characters(codePoints); }

    void invalidBytes() {
        if (!m_textInvalid) report();
        m_textInvalid = true;
        m_answerer.invalidBytes();
    }

    void lineEnd() {
        m_answerer.lineEnd();
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

    TextAnswerer& m_answerer;
    StandardOutput& m_output;
    const char* m_sourceKind;
    bool m_linesAreTexts;
    std::size_t m_number = 1;
    bool m_textInvalid = false;
    bool m_sawInvalid = false;
};

bool answerTexts(const std::vector<std::string_view>& texts, bool splitTexts,
                 TextAnswerer& answerer, StandardOutput& output) {
    ReportingSink sink(answerer, output, "argument", false);
    for (std::size_t i = 0; i < texts.size() && output.isOpen(); ++i) {
        sink.beginText(i + 1);
        Utf8LineSplitter splitter(splitTexts);
        splitter.feed(texts[i], sink);
        splitter.finish(sink, true);
    }
    return !sink.sawInvalidText();
}

bool answerStandardInput(TextAnswerer& answerer, StandardOutput& output) {
    ReportingSink sink(answerer, output, "line", true);
    Utf8LineSplitter splitter(true);
    StandardInput input;
    for (;;) {
        // Whoever reads the answers gets them before the tool waits for the next line.
        output.flushIfInteractive();
        if (!output.isOpen()) break;
        const StandardInput::Result result = input.read();
        if (result == StandardInput::Result::end) {
            splitter.finish(sink, false);
            break;
        }
        if (result == StandardInput::Result::failed) {
            output.flush();
            std::fprintf(stderr, "tinglan-query: cannot read standard input: %s\n",
                         std::strerror(input.errorNumber()));
            return false;
        }
        splitter.feed(input.data(), sink);
    }
    return !sink.sawInvalidText();
}

}  // namespace

bool answerInput(const std::vector<std::string_view>& texts, bool splitTexts,
                 TextAnswerer& answerer, StandardOutput& output) {
    return texts.empty() ? answerStandardInput(answerer, output)
                         : answerTexts(texts, splitTexts, answerer, output);
}
