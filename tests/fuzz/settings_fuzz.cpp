// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for `A_readini`: any file and any names and value, checked for these
// properties: nothing crashes; ReadIniValues gives what ReadIniValue gives key by key; a value
// the writer accepted reads back unchanged (cut to 253 GBK bytes) and the write changed at most
// one line's bytes, a refused write none; a second identical write changes no byte; no other
// file stays behind; WriteNewIniFile leaves the bytes of the same writes one after another, or
// no file when one of them is refused.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdint>
#include <cstdio>

#include "settings/a_readini.h"
#include "settings/file_locations.h"

namespace {

// A directory made once per run: each input replaces the files there.
const QString& fuzzDirectory() {
    static const QString path = [] {
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/settings_fuzz.XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) abort();
        return QString::fromLocal8Bit(pattern);
    }();
    return path;
}

void require(bool holds, const char* property) {
    if (holds) return;
    fprintf(stderr, "property broken: %s\n", property);
    abort();
}

void putFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the fuzzer can write its file");
    require(file.write(content) == content.size(), "the fuzzer can write its file");
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    require(file.open(QIODevice::ReadOnly), "the settings file stays readable");
    return file.readAll();
}

// Text as the callers pass it: mostly GBK-decodable, sometimes raw UTF-16 with lone surrogates.
QString textFrom(const std::string& bytes, bool rawUtf16) {
    if (rawUtf16) {
        return QString(reinterpret_cast<const QChar*>(bytes.data()), qsizetype(bytes.size() / 2));
    }
    return QStringDecoder("GBK").decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

qsizetype gbkSize(const QString& text) {
    return QByteArray(QStringEncoder("GBK").encode(text)).size();
}

// The old bytes that a write replaced: what lies between the common start and the common end.
QByteArray replacedBytes(const QByteArray& before, const QByteArray& after) {
    const qsizetype limit = qMin(before.size(), after.size());
    qsizetype head = 0;
    while (head < limit && before[head] == after[head]) ++head;
    qsizetype tail = 0;
    while (tail < limit - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    return before.sliced(head, before.size() - head - tail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool rawUtf16 = input.ConsumeBool();
    const QString section = textFrom(input.ConsumeRandomLengthString(32), rawUtf16);
    const QString key = textFrom(input.ConsumeRandomLengthString(32), rawUtf16);
    const QString value = textFrom(input.ConsumeRandomLengthString(600), rawUtf16);
    const std::vector<uint8_t> rest = input.ConsumeRemainingBytes<uint8_t>();
    const QByteArray before(reinterpret_cast<const char*>(rest.data()), qsizetype(rest.size()));

    const QString path = fileLocationsIn(fuzzDirectory()).settingsFile;
    putFile(path, before);
    const QString missing = QStringLiteral("\x01missing");
    const QString onTop = QStringLiteral("SetOnTop");
    ReadIniValue(path, section, key, missing);
    require(fileBytes(path) == before, "a read changes no byte");
    require(ReadIniValues(path, section, {key, onTop}) ==
                QStringList{ReadIniValue(path, section, key, {}),
                            ReadIniValue(path, section, onTop, {})},
            "ReadIniValues reads as ReadIniValue");

    // The same entries written one by one into one missing file and at once into another.
    const QList<std::pair<QString, QString>> entries = {{key, value}, {onTop, "0"}, {key, ""}};
    const QString oneByOne = fuzzDirectory() + QStringLiteral("/one_by_one.ini");
    const QString atOnce = fuzzDirectory() + QStringLiteral("/at_once.ini");
    QFile::remove(oneByOne);
    QFile::remove(atOnce);
    bool allWritten = true;
    for (const auto& [entryKey, entryValue] : entries) {
        allWritten = WriteIniValue(oneByOne, section, entryKey, entryValue) == "1" && allWritten;
    }
    if (WriteNewIniFile(atOnce, section, entries) == "1") {
        require(allWritten && fileBytes(atOnce) == fileBytes(oneByOne),
                "a new file holds the bytes of the same writes one by one");
    } else {
        require(!allWritten && !QFileInfo::exists(atOnce), "a refused new file is not made");
    }

    const QString result = WriteIniValue(path, section, key, value);
    const QByteArray after = fileBytes(path);
    if (result == "0") {
        require(after == before, "a refused write changes no byte");
        return 0;
    }
    require(result == "1", "a write returns 1 or 0");
    const QByteArray replaced = replacedBytes(before, after);
    require(!replaced.contains('\r') && !replaced.contains('\n'),
            "a write replaces bytes within one line at most");

    const QString readBack = ReadIniValue(path, section, key, missing);
    const qsizetype valueBytes = gbkSize(value);
    if (valueBytes <= 253) {
        require(readBack == value, "an accepted value reads back unchanged");
    } else {
        const qsizetype readBytes = gbkSize(readBack);
        require(value.startsWith(readBack) && readBytes >= 252 && readBytes <= 253,
                "a long value reads back as its first 253 bytes, whole characters only");
    }

    require(WriteIniValue(path, section, key, value) == "1", "a second identical write succeeds");
    require(fileBytes(path) == after, "a second identical write changes no byte");
    QStringList others =
        QDir(fuzzDirectory()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const char* const ours : {"SetValve.ini", "at_once.ini", "one_by_one.ini"}) {
        others.removeAll(QString::fromLatin1(ours));
    }
    require(others.isEmpty(), "no temporary or lock file stays behind");
    return 0;
}
