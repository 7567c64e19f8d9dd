// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one recorded query: existence test, open, one write, sync, close.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "query/history_log.h"
#include "query/query_window.h"

namespace {

using namespace Qt::StringLiterals;

// The history step asks the window for nothing while there is a character to record.
class NoWindow : public QueryWindow {
public:
    QString inputText() const override { return {}; }
    void setInputText(const QString&) override {}
    void focusInput() override {}
    void setWubiResult(const QString&) override {}
    void setPinyinResult(const QString&) override {}
    void showMessage(const QString&) override {}
};

void BM_RecordedQuery(benchmark::State& state) {
    QTemporaryDir directory;
    const QString path = QDir(directory.path()).filePath(u"历史记录.txt"_s);
    NoWindow window;
    wbscdaochu(window, path, u"啊"_s, u"kb"_s, u"a"_s);  // the header, once
    for (auto _ : state) {
        wbscdaochu(window, path, u"啊"_s, u"kb"_s, u"a"_s);
    }
}
BENCHMARK(BM_RecordedQuery);

}  // namespace

BENCHMARK_MAIN();
