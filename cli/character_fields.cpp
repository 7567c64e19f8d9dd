// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/character_fields.h"

#include "cli/json_text.h"
#include "cli/utf8_text.h"

void appendUtf8(char32_t codePoint, std::string& out) {
    char bytes[4];
    out.append(bytes, putUtf8(codePoint, bytes));
}

void appendCodePointName(char32_t codePoint, std::string& out) {
    char name[10];
    out.append(name, putCodePointName(codePoint, name));
}

void appendJsonCharacter(char32_t codePoint, std::string& out) {
    std::string character;
    appendUtf8(codePoint, character);
    out += "\"character\":";
    appendJsonString(character, out);
    out += ",\"codePoint\":\"";
    appendCodePointName(codePoint, out);
    out += '"';
}

void appendStrokes(std::string_view order, std::string& out) {
    if (order.empty()) {
        out += "none";
        return;
    }
    out += std::to_string(order.size());
    out += " (";
    out += order;
    out += ')';
}

void appendJsonStrokes(std::string_view order, std::string& out) {
    out += "\"strokes\":";
    if (order.empty()) {
        out += "null";
        return;
    }
    out += "{\"count\":";
    out += std::to_string(order.size());
    // The order is digits, which need no escaping.
    out += ",\"order\":\"";
    out += order;
    out += "\"}";
}
