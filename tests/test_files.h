// SPDX-License-Identifier: GPL-3.0-or-later
// File helpers the tests share: GBK text, whole-file reads and writes, golden files.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringEncoder>

// Returns `text` in GBK.
inline QByteArray gbk(const QString& text) { return QStringEncoder("GBK").encode(text); }

// Returns the bytes of the file at `path`, or "<unreadable>" when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Replaces the file at `path` with `content`; fails the test when it cannot.
inline void putFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(content), content.size()) << path.toStdString();
}

// Returns the bytes of the golden file `name` in the test data directory.
inline QByteArray golden(const char* name) {
    return fileBytes(QStringLiteral(TINGLAN_TEST_DATA_DIR "/") + QString::fromUtf8(name));
}
