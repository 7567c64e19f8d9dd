// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/profile_text.h"

#include "textfiles/blanks.h"
#include "textfiles/gbk_text.h"

namespace {

constexpr QByteArrayView kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr QByteArrayView kLineEnd = "\r\n";

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

bool isQuote(char c) { return c == '"' || c == '\''; }

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// A byte-order mark is not part of the first line, or it would hide a section there.
qsizetype textStart(QByteArrayView text) {
    return text.startsWith(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
}

QByteArrayView unquoted(QByteArrayView value) {
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front()) {
        return value.sliced(1, value.size() - 2);
    }
    return value;
}

// A value that reading would change (outer blanks, a pair of outer quotes) is stored in quotes,
// which reading removes again.
QByteArray storedValue(QByteArrayView value) {
    if (unquoted(value).size() != value.size() || trimmedBlanks(value).size() != value.size()) {
        return QByteArray(1, '"').append(value).append('"');
    }
    return value.toByteArray();
}

// Compares a name from the file with a wanted one, folding ASCII letters only where the file's
// byte is a character of its own, never the trail byte of a two-byte character.
bool sameName(QByteArrayView inFile, QByteArrayView wanted) {
    if (inFile.size() != wanted.size()) return false;
    for (qsizetype pos = 0; pos < inFile.size();) {
        const qsizetype length = gbkCharLength(inFile, pos);
        if (length == 1) {
            if (asciiLower(inFile[pos]) != asciiLower(wanted[pos])) return false;
        } else if (inFile.sliced(pos, length) != wanted.sliced(pos, length)) {
            return false;
        }
        pos += length;
    }
    return true;
}

enum class LineKind { Other, Section, Key };

// One line of the text, classified; positions are offsets into the whole text.
struct ProfileLine {
    qsizetype end = 0;   // end of the line's content, before its line end
    qsizetype next = 0;  // start of the next line
    LineKind kind = LineKind::Other;
    QByteArrayView name;
    qsizetype valueBegin = 0;  // for a key: the first byte after "=" and the blanks after it
};

ProfileLine lineAt(QByteArrayView text, qsizetype begin) {
    ProfileLine line;
    line.end = begin;
    while (line.end < text.size() && !isLineEnd(text[line.end])) ++line.end;
    line.next = line.end;
    if (line.next < text.size()) {
        const bool crLf =
            text[line.next] == '\r' && line.next + 1 < text.size() && text[line.next + 1] == '\n';
        line.next += crLf ? 2 : 1;
    }

    const QByteArrayView content = text.sliced(begin, line.end - begin);
    qsizetype start = 0;
    while (start < content.size() && isBlank(content[start])) ++start;
    if (start == content.size() || content[start] == ';') return line;
    if (content[start] == '[') {
        // A name whose "]" is missing runs to the end of the line, as the platform reads it.
        qsizetype close = gbkIndexOf(content, ']', start + 1);
        if (close < 0) close = content.size();
        line.kind = LineKind::Section;
        line.name = trimmedBlanks(content.sliced(start + 1, close - start - 1));
        return line;
    }
    const qsizetype equals = gbkIndexOf(content, '=', start);
    if (equals < 0) return line;
    line.kind = LineKind::Key;
    line.name = trimmedBlanks(content.sliced(start, equals - start));
    line.valueBegin = equals + 1;
    while (line.valueBegin < content.size() && isBlank(content[line.valueBegin])) {
        ++line.valueBegin;
    }
    line.valueBegin += begin;
    return line;
}

// Where a key stands in the text, or where it would go.
struct KeyPlace {
    bool sectionFound = false;
    bool keyFound = false;
    qsizetype valueBegin = 0;  // the key's value part, when found
    qsizetype valueEnd = 0;
    qsizetype insertAt = 0;  // after the section's last key line, when the key is not found
};

KeyPlace findKey(QByteArrayView text, QByteArrayView section, QByteArrayView key) {
    KeyPlace place;
    place.insertAt = text.size();
    qsizetype pos = textStart(text);
    while (pos < text.size()) {
        const ProfileLine line = lineAt(text, pos);
        if (line.kind == LineKind::Section) {
            if (place.sectionFound) break;
            if (sameName(line.name, section)) {
                place.sectionFound = true;
                place.insertAt = line.next;
            }
        } else if (place.sectionFound && line.kind == LineKind::Key) {
            if (sameName(line.name, key)) {
                place.keyFound = true;
                place.valueBegin = line.valueBegin;
                place.valueEnd = line.end;
                return place;
            }
            place.insertAt = line.next;
        }
        pos = line.next;
    }
    return place;
}

}  // namespace

std::optional<QByteArray> profileValue(QByteArrayView text, QByteArrayView section,
                                       QByteArrayView key) {
    const KeyPlace place = findKey(text, section, key);
    if (!place.keyFound) return std::nullopt;
    const QByteArrayView raw = text.sliced(place.valueBegin, place.valueEnd - place.valueBegin);
    return unquoted(trimmedBlanks(raw)).toByteArray();
}

ProfileEdit profileEdit(QByteArrayView text, QByteArrayView section, QByteArrayView key,
                        QByteArrayView value) {
    const KeyPlace place = findKey(text, section, key);
    if (place.keyFound) return {place.valueBegin, place.valueEnd, storedValue(value)};

    QByteArray lines;
    if (place.insertAt == text.size() && text.size() > textStart(text) && !isLineEnd(text.back())) {
        lines.append(kLineEnd);
    }
    if (!place.sectionFound) lines.append('[').append(section).append(']').append(kLineEnd);
    lines.append(key).append('=').append(storedValue(value)).append(kLineEnd);
    return {place.insertAt, place.insertAt, lines};
}
