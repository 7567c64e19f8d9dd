// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/a_readini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>
#include <utility>

#include "settings/gbk_text.h"
#include "settings/profile_text.h"

namespace {

// A value comes back through a 254-byte buffer that ends in a NUL byte.
constexpr qsizetype kValueBytesReturned = 253;

const QString kSucceeded = QStringLiteral("1");
const QString kFailed = QStringLiteral("0");

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Blanks and tabs around a name are not part of it, as in the file itself.
QStringView trimmedBlanks(QStringView text) {
    while (!text.isEmpty() && isBlank(text.front())) text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back())) text.chop(1);
    return text;
}

bool hasLineEnd(QStringView text) { return text.contains(u'\r') || text.contains(u'\n'); }

// Whether the file's layout can hold `name` as a section name (or as a key name): such text
// would otherwise end the line, close the section name early, turn the line into a comment or
// a section line, or move the key's "=".
bool isHoldableName(QStringView name, bool isKey) {
    return !name.isEmpty() && !hasLineEnd(name) && !name.contains(u']') && !name.startsWith(u';') &&
           !name.startsWith(u'[') && !(isKey && name.contains(u'='));
}

// The GBK bytes of a section and a key name, when the file can hold them.
struct Names {
    QByteArray section;
    QByteArray key;
};

std::optional<Names> encodeNames(const QString& section, const QString& key) {
    const QStringView sectionName = trimmedBlanks(section);
    const QStringView keyName = trimmedBlanks(key);
    if (!isHoldableName(sectionName, false) || !isHoldableName(keyName, true)) return std::nullopt;
    std::optional<QByteArray> sectionBytes = encodeGbk(sectionName);
    std::optional<QByteArray> keyBytes = encodeGbk(keyName);
    if (!sectionBytes || !keyBytes) return std::nullopt;
    return Names{*sectionBytes, *keyBytes};
}

// Only a regular file is read: a FIFO or a device at the path must not block or flood a read.
std::optional<QByteArray> readRegularFile(const QString& path) {
    if (!QFileInfo(path).isFile()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

// Writes all of `bytes`. A size limit or a full disk shows first as a short write, which QSaveFile
// does not count as an error, so commit() would put a cut file in place: the rest is written
// again until the write fails outright.
bool writeAll(QSaveFile& file, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const qint64 written = file.write(bytes.data(), bytes.size());
        if (written <= 0) return false;
        bytes = bytes.sliced(written);
    }
    return true;
}

}  // namespace

QString settingsFilePath(const QString& programDirectory) {
    return QDir(programDirectory).filePath(QStringLiteral("SetValve.ini"));
}

QString ReadIniValue(const QString& path, const QString& section, const QString& key,
                     const QString& defaultValue) {
    const std::optional<Names> names = encodeNames(section, key);
    if (!names) return defaultValue;
    const std::optional<QByteArray> text = readRegularFile(path);
    if (!text) return defaultValue;
    const std::optional<QByteArray> value = profileValue(*text, names->section, names->key);
    if (!value) return defaultValue;
    return decodeGbk(gbkPrefix(*value, kValueBytesReturned)).value_or(defaultValue);
}

QString WriteIniValue(const QString& path, const QString& section, const QString& key,
                      const QString& value) {
    const std::optional<Names> names = encodeNames(section, key);
    if (!names || hasLineEnd(value)) return kFailed;
    const std::optional<QByteArray> valueBytes = encodeGbk(value);
    if (!valueBytes) return kFailed;

    // A directory, FIFO or device at the path is left alone; a symbolic link is followed.
    const QFileInfo info(path);
    const bool exists = info.exists();
    if (exists && !info.isFile()) return kFailed;

    // The new content goes to a temporary file beside the old one and replaces it whole on
    // commit. open() refuses a file the user may not write, even where the directory would let
    // a rename replace it, and keeps the old file's permissions and a link's target. Unbuffered,
    // so that each write reports what really reached the file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return kFailed;
    QByteArray text;
    if (exists) {
        std::optional<QByteArray> oldText = readRegularFile(path);
        if (!oldText) return kFailed;
        text = std::move(*oldText);
    }

    const ProfileEdit edit = profileEdit(text, names->section, names->key, *valueBytes);
    const QByteArrayView whole(text);
    // Leaving without commit() discards the temporary file and keeps the old one.
    const bool written = writeAll(file, whole.first(edit.begin)) &&
                         writeAll(file, edit.replacement) && writeAll(file, whole.sliced(edit.end));
    return written && file.commit() ? kSucceeded : kFailed;
}
