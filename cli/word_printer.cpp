// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/word_printer.h"

#include <string_view>
#include <vector>

#include "cli/json_text.h"
#include "cli/utf8_text.h"
#include "tables/phrases.h"

namespace {

std::string_view originName(phrases::CodeOrigin origin) {
    return origin == phrases::CodeOrigin::Listed ? "listed" : "derived";
}

void appendShown(std::u32string_view word, std::string& out) {
    const std::size_t start = out.size();
    out.resize(start + 6 * word.size());
    out.resize(putShownText(word, out.data() + start) - out.data());
}

void appendLines(std::u32string_view word, const std::vector<phrases::WordCode>& codes,
                 std::string& out) {
    if (codes.empty()) {
        appendShown(word, out);
        out += "\tNone!\n";
    }
    for (const phrases::WordCode& code : codes) {
        appendShown(word, out);
        out += '\t';
        out += code.code;
        out += '\t';
        out += originName(code.origin);
        out += '\t';
        out += std::to_string(code.position);
        out += '\n';
    }
}

void appendJson(std::u32string_view word, const std::vector<phrases::WordCode>& codes,
                std::string& out) {
    out += "{\"word\":";
    appendJsonString(word, out);
    out += ",\"codes\":[";
    const char* separator = "";
    for (const phrases::WordCode& code : codes) {
        // Codes and origins are letters, which need no escaping.
        out += separator;
        out += "{\"code\":\"";
        out += code.code;
        out += "\",\"origin\":\"";
        out += originName(code.origin);
        out += "\",\"position\":";
        out += std::to_string(code.position);
        out += '}';
        separator = ",";
    }
    out += "]}\n";
}

}  // namespace

void WordPrinter::characters(std::span<const char32_t> codePoints) {
    m_word.append(codePoints.begin(), codePoints.end());
}

void WordPrinter::invalidBytes() { m_invalid = true; }

void WordPrinter::lineEnd() {
    std::string out;
    if (m_word.empty() || m_invalid) {
        out = m_json ? "null\n" : "\n";
    } else if (m_json) {
        appendJson(m_word, phrases::codesOfWord(m_word), out);
    } else {
        appendLines(m_word, phrases::codesOfWord(m_word), out);
    }
    m_output.write(out);
    m_word.clear();
    m_invalid = false;
}
