// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one recorded query: existence test, open, one write, sync, close.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "query/history_log.h"
#include "tests/silent_window.h"

namespace {

using namespace Qt::StringLiterals;

void BM_RecordedQuery(benchmark::State& state) {
    QTemporaryDir directory;
    const QString path = QDir(directory.path()).filePath(u"历史记录.txt"_s);
    SilentWindow window;
    wbscdaochu(window, path, u"啊"_s, u"kb"_s, u"a"_s);  // the header, once
    for (auto _ : state) {
        wbscdaochu(window, path, u"啊"_s, u"kb"_s, u"a"_s);
    }
}
BENCHMARK(BM_RecordedQuery);

}  // namespace

BENCHMARK_MAIN();
