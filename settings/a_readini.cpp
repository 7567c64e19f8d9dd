// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/a_readini.h"

#include <errno.h>
#include <sys/stat.h>

#include <QFile>
#include <optional>
#include <utility>

#include "settings/atomic_replace.h"
#include "settings/bounded_read.h"
#include "settings/profile_text.h"
#include "settings/write_lock.h"
#include "textfiles/blanks.h"
#include "textfiles/gbk_text.h"
#include "textfiles/own_links.h"

namespace {

// A value comes back through a 254-byte buffer that ends in a NUL byte.
constexpr qsizetype kValueBytesReturned = 253;

const QString kSucceeded = QStringLiteral("1");
const QString kFailed = QStringLiteral("0");

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
    // Blanks and tabs around a name are not part of it, as in the file itself.
    const QStringView sectionName = trimmedBlanks(section);
    const QStringView keyName = trimmedBlanks(key);
    if (!isHoldableName(sectionName, false) || !isHoldableName(keyName, true)) return std::nullopt;
    std::optional<QByteArray> sectionBytes = encodeGbk(sectionName);
    std::optional<QByteArray> keyBytes = encodeGbk(keyName);
    if (!sectionBytes || !keyBytes) return std::nullopt;
    return Names{*sectionBytes, *keyBytes};
}

// The text that a key's value reads as, or `defaultValue` where ReadIniValue gives that.
QString valueIn(const std::optional<QByteArray>& text, const QString& section, const QString& key,
                const QString& defaultValue) {
    if (!text) return defaultValue;
    const std::optional<Names> names = encodeNames(section, key);
    if (!names) return defaultValue;
    const std::optional<QByteArray> value = profileValue(*text, names->section, names->key);
    if (!value) return defaultValue;
    return decodeGbk(gbkPrefix(*value, kValueBytesReturned)).value_or(defaultValue);
}

// Sets `key` in `section` of `text`; false, leaving `text`, for names or a value it cannot hold.
bool setValue(QByteArray& text, const QString& section, const QString& key, const QString& value) {
    const std::optional<Names> names = encodeNames(section, key);
    if (!names || hasLineEnd(value)) return false;
    const std::optional<QByteArray> valueBytes = encodeGbk(value);
    if (!valueBytes) return false;
    const ProfileEdit edit = profileEdit(text, names->section, names->key, *valueBytes);
    text.replace(edit.begin, edit.end - edit.begin, edit.replacement);
    return true;
}

// Runs `write` on the file that a write of `path` goes to (its own links followed; another
// user's link is left alone), holding the writers' lock, after removing what killed writes left
// behind. Two copies of the program writing at once would otherwise each replace the file with
// their own edit of the same old text, and one edit would be lost. Returns "1" when `write`
// succeeds.
template <typename Write>
QString writeLocked(const QString& path, Write write) {
    const std::optional<LinkEnd> end = followOwnLinks(QFile::encodeName(path));
    if (!end) return kFailed;
    const ProfileWriteLock lock(directoryOf(end->path));
    if (!lock.allowsWriting()) return kFailed;
    removeLeftoverTemporaries(end->path);
    return write(*end) ? kSucceeded : kFailed;
}

// Puts `text` in place as the file `end`; a file that no read would take is no settings file.
bool store(const LinkEnd& end, const QByteArray& text, std::optional<KeptAttributes> keep) {
    return text.size() <= kMaxProfileFileBytes && replaceFile(end.path, text, keep);
}

// Creates the file at `end` holding `text`; a link is never followed to create a file, and
// nothing that stands at the path is replaced.
bool createFile(const LinkEnd& end, const QByteArray& text) {
    struct stat info {};
    if (end.throughLink || ::lstat(end.path.constData(), &info) == 0 || errno != ENOENT) {
        return false;
    }
    return store(end, text, std::nullopt);
}

}  // namespace

QString ReadIniValue(const QString& path, const QString& section, const QString& key,
                     const QString& defaultValue) {
    return valueIn(readProfileFile(QFile::encodeName(path)), section, key, defaultValue);
}

bool mayBeCutShort(const QString& value) {
    const std::optional<QByteArray> bytes = encodeGbk(value);
    return !bytes || bytes->size() >= kValueBytesReturned - 1;
}

QStringList ReadIniValues(const QString& path, const QString& section, const QStringList& keys) {
    const std::optional<QByteArray> text = readProfileFile(QFile::encodeName(path));
    QStringList values;
    values.reserve(keys.size());
    for (const QString& key : keys) values.append(valueIn(text, section, key, QString()));
    return values;
}

QString WriteIniValue(const QString& path, const QString& section, const QString& key,
                      const QString& value) {
    // The file's new bytes, first as if it were missing: names and value are checked before
    // any file is touched, so that a refused value changes nothing.
    QByteArray text;
    if (!setValue(text, section, key, value)) return kFailed;

    return writeLocked(path, [&](const LinkEnd& end) {
        struct stat info {};
        if (::lstat(end.path.constData(), &info) != 0) return createFile(end, text);
        // A directory, FIFO or device at the path is left alone, and so is a file too large to
        // read.
        if (!S_ISREG(info.st_mode)) return false;
        std::optional<QByteArray> oldText = readProfileFile(end.path);
        if (!oldText) return false;
        text = std::move(*oldText);
        setValue(text, section, key, value);
        return store(end, text, KeptAttributes{info.st_mode, info.st_uid, info.st_gid});
    });
}

QString WriteNewIniFile(const QString& path, const QString& section,
                        const QList<std::pair<QString, QString>>& entries) {
    QByteArray text;
    for (const auto& [key, value] : entries) {
        if (!setValue(text, section, key, value)) return kFailed;
    }
    // Another copy of the program may have created the file since the caller looked.
    return writeLocked(path, [&](const LinkEnd& end) { return createFile(end, text); });
}
