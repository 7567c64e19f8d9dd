// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/query_run.h"

void QueryAnswerer::characters(std::span<const char32_t> codePoints) {
    if (m_mode == QueryMode::eachCharacter) {
        m_printer.answer(codePoints, m_output);
    } else if (!m_haveFirst) {
        m_first = codePoints.front();
        m_haveFirst = true;
    }
}

void QueryAnswerer::invalidBytes() {
    m_lineInvalid = true;
    if (m_mode == QueryMode::eachCharacter) m_printer.emptyAnswer(m_output);
}

void QueryAnswerer::lineEnd() {
    if (m_mode == QueryMode::firstCharacter) {
        if (m_haveFirst && !m_lineInvalid) {
            m_printer.answer({&m_first, 1}, m_output);
        } else {
            m_printer.emptyAnswer(m_output);
        }
    }
    m_lineInvalid = false;
    m_haveFirst = false;
}
