// SPDX-License-Identifier: GPL-3.0-or-later
// tinglan-query: the window's character query from a terminal; never touches the program's files.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "cli/options.h"
#include "cli/output.h"
#include "cli/query_printer.h"
#include "cli/query_run.h"
#include "cli/stroke_printer.h"
#include "cli/text_run.h"
#include "cli/typing_printer.h"
#include "cli/word_printer.h"
#include "common/app_info.h"

namespace {

// Returns the exit status once everything is written: 1 when writing failed (said in one line),
// else the status of the run. A reader that closed the pipe just ends the run.
int finish(StandardOutput& output, bool succeeded) {
    output.flush();
    if (output.state() == StandardOutput::State::failed) {
        std::fprintf(stderr, "tinglan-query: cannot write standard output: %s\n",
                     std::strerror(output.errorNumber()));
        return 1;
    }
    return succeeded ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // A closed pipe then shows as EPIPE on the write, whatever the parent left the signal at.
    std::signal(SIGPIPE, SIG_IGN);

    const std::optional<Options> options = parseArguments(argc, argv);
    if (!options) return 2;
    StandardOutput output;
    if (options->help) {
        output.write(usageText());
        output.write("\n");
        output.write(helpText());
        return finish(output, true);
    }
    if (options->version) {
        output.write(std::string("tinglan-query ") + kVersion + "\n");
        return finish(output, true);
    }
    if (options->dump) {
        QueryPrinter::dump(output);
        return finish(output, true);
    }
    if (options->code) {
        QueryPrinter::offersOfCode(*options->code, options->json, output);
        return finish(output, true);
    }
    if (options->strokes) {
        printStrokeMatches(*strokes::Sequence::parse(*options->strokes), options->json, output);
        return finish(output, true);
    }
    if (options->word) {
        // A WORD is whole: a line end in it is a character of the word, as in a TEXT.
        WordPrinter printer(options->json, output);
        return finish(output, answerInput(options->texts, false, printer, output));
    }
    if (options->typing) {
        TypingPrinter printer(options->json, output);
        const bool succeeded = answerInput(options->texts, true, printer, output);
        printer.writeSummary();
        return finish(output, succeeded);
    }
    const QueryMode mode = options->each ? QueryMode::eachCharacter : QueryMode::firstCharacter;
    // JSON holds everything; --all adds nothing to it.
    const AnswerFormat format = options->json  ? AnswerFormat::json
                                : options->all ? AnswerFormat::block
                                               : AnswerFormat::line;
    QueryAnswerer answerer(mode, format, output);
    return finish(output,
                  answerInput(options->texts, mode == QueryMode::eachCharacter, answerer, output));
}
