// SPDX-License-Identifier: GPL-3.0-or-later
// tinglan-query: the window's character query from a terminal; never touches the program's files.
#include <QStringDecoder>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/query_printer.h"

namespace {

constexpr std::string_view kUsage =
    "usage: tinglan-query [--each] [--] [TEXT...]\n"
    "       tinglan-query --dump | --help | --version\n";

constexpr std::string_view kHelp =
    "Shows the Wubi 86 code and the toneless pinyin of Chinese characters.\n"
    "\n"
    "For each TEXT, one line: its first character, a tab, the Wubi code (or None!), a tab, the\n"
    "pinyin (or nothing). An empty TEXT gives an empty line. Without TEXT, each line of standard\n"
    "input is one query. Input and output are UTF-8; a TEXT or line that is not valid UTF-8 is\n"
    "reported on standard error, answered with an empty line, and makes the exit status 1.\n"
    "\n"
    "  --each     query every character of each TEXT or line, one output line each\n"
    "  --dump     print every row of the code tables: group, character, code, pinyin\n"
    "  --help     show this help\n"
    "  --version  show the version\n";

struct Options {
    bool each = false;
    bool dump = false;
    bool help = false;
    bool version = false;
    std::vector<std::string_view> texts;
};

// Returns the options, or nothing when an argument is not understood.
std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            options.texts.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--each") {
            options.each = true;
        } else if (argument == "--dump") {
            options.dump = true;
        } else if (argument == "--help") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else {
            std::fprintf(stderr, "tinglan-query: unknown option %s\n", argv[i]);
            return std::nullopt;
        }
    }
    if (options.dump && (options.each || !options.texts.empty())) return std::nullopt;
    return options;
}

void write(std::string_view text, std::FILE* stream) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

// Writes the buffer out once it is large, so that a long input streams in constant memory.
void flushIfLarge(std::string& out) {
    if (out.size() < (1 << 20)) return;
    write(out, stdout);
    out.clear();
}

std::optional<QString> decodeUtf8(std::string_view bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError()) return std::nullopt;
    return text;
}

std::string readAll(std::FILE* stream) {
    std::string data;
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;)
        data.append(buffer, n);
    return data;
}

class QueryRun {
public:
    explicit QueryRun(bool each) : m_each(each) {}

    // Answers one text; `source` names it in the message when it is not valid UTF-8.
    void answer(std::string_view bytes, const std::string& source) {
        const std::optional<QString> text = decodeUtf8(bytes);
        if (!text) {
            std::fprintf(stderr, "tinglan-query: %s is not valid UTF-8\n", source.c_str());
            m_failed = true;
            if (!m_each) m_out += '\n';
        } else if (m_each) {
            m_printer.appendEachCharacter(*text, m_out);
        } else {
            m_printer.appendQuery(*text, m_out);
        }
        flushIfLarge(m_out);
    }

    // Writes what is left and returns the exit status.
    int finish() {
        write(m_out, stdout);
        return m_failed ? 1 : 0;
    }

private:
    bool m_each;
    bool m_failed = false;
    QueryPrinter m_printer;
    std::string m_out;
};

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseArguments(argc, argv);
    if (!options) {
        write(kUsage, stderr);
        return 2;
    }
    if (options->help) {
        write(kUsage, stdout);
        write("\n", stdout);
        write(kHelp, stdout);
        return 0;
    }
    if (options->version) {
        write("tinglan-query " TINGLAN_VERSION "\n", stdout);
        return 0;
    }
    if (options->dump) {
        std::string out;
        QueryPrinter::appendDump(out);
        write(out, stdout);
        return 0;
    }

    QueryRun run(options->each);
    if (!options->texts.empty()) {
        for (std::size_t i = 0; i < options->texts.size(); ++i) {
            run.answer(options->texts[i], "argument " + std::to_string(i + 1));
        }
        return run.finish();
    }
    const std::string input = readAll(stdin);
    std::string_view rest = input;
    for (std::size_t lineNumber = 1; !rest.empty(); ++lineNumber) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        run.answer(line, "line " + std::to_string(lineNumber));
    }
    return run.finish();
}
