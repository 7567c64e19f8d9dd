// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of the history file: its ten-line framed header and the record line of one query.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Returns the ten header lines in GBK, each ending in CR LF, 424 bytes in all; nullopt when
// the platform has no GBK encoder.
std::optional<QByteArray> historyHeaderBytes();

// Returns the record line of one query in GBK, ending in CR LF: the query text, "    五笔编码: ",
// the Wubi result, "    汉语拼音:" and the pinyin result. Each character that GBK cannot represent
// is written as one "?". Returns nullopt when the platform has no GBK encoder.
std::optional<QByteArray> historyRecordBytes(const QString& queryText, const QString& wubiResult,
                                             const QString& pinyinResult);
