// SPDX-License-Identifier: GPL-3.0-or-later
#include "textfiles/gbk_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// Stateless conversion: a call never leaves half a character pending for a next call, so a
// lone surrogate at the end of the text counts as an error instead of vanishing.
constexpr auto kConverterFlags = QStringConverter::Flag::Stateless;

bool isLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

bool isTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE); }

}  // namespace

std::optional<QByteArray> encodeGbk(QStringView text) {
    QStringEncoder encoder("GBK", kConverterFlags);
    if (!encoder.isValid()) return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    // The encoder writes "?" for a character GBK lacks; such text would not read back as given.
    if (encoder.hasError()) return std::nullopt;
    return bytes;
}

std::optional<QByteArray> encodeGbkReplacing(QStringView text) {
    QStringEncoder encoder("GBK", kConverterFlags);
    if (!encoder.isValid()) return std::nullopt;
    // The converter writes one "?" for each character that GBK lacks. (Only a lone high surrogate
    // at the very end of the text would be dropped instead.)
    return QByteArray(encoder.encode(text));
}

std::optional<QString> decodeGbk(QByteArrayView bytes) {
    QStringDecoder decoder("GBK", kConverterFlags);
    if (!decoder.isValid()) return std::nullopt;
    return QString(decoder.decode(bytes));
}

qsizetype gbkCharLength(QByteArrayView bytes, qsizetype pos) {
    const bool pair = isLeadByte(static_cast<unsigned char>(bytes[pos])) &&
                      pos + 1 < bytes.size() &&
                      isTrailByte(static_cast<unsigned char>(bytes[pos + 1]));
    return pair ? 2 : 1;
}

qsizetype gbkIndexOf(QByteArrayView bytes, char c, qsizetype from) {
    for (qsizetype pos = from; pos < bytes.size(); pos += gbkCharLength(bytes, pos)) {
        if (bytes[pos] == c) return pos;
    }
    return -1;
}

QByteArrayView gbkPrefix(QByteArrayView bytes, qsizetype maxBytes) {
    if (bytes.size() <= maxBytes) return bytes;
    qsizetype end = 0;
    while (end < maxBytes) {
        const qsizetype next = end + gbkCharLength(bytes, end);
        if (next > maxBytes) break;
        end = next;
    }
    return bytes.first(end);
}
