// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one recorded query: existence test, open, one write, close.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <utility>

#include "query/history_log.h"
#include "query/query_window.h"

namespace {

using namespace Qt::StringLiterals;

// A window that always holds the query of 啊 and records it into `programDirectory`.
class BenchWindow : public QueryWindow {
public:
    explicit BenchWindow(QString programDirectory) : m_directory(std::move(programDirectory)) {}

    QString inputText() const override { return u"啊"_s; }
    void setInputText(const QString&) override {}
    void focusInput() override {}
    QString wubiResult() const override { return u"kb"_s; }
    void setWubiResult(const QString&) override {}
    QString pinyinResult() const override { return u"a"_s; }
    void setPinyinResult(const QString&) override {}
    void wbscdaochu() override { ::wbscdaochu(*this); }
    QString programDirectory() const override { return m_directory; }
    void showMessage(const QString&) override {}

private:
    QString m_directory;
};

void BM_RecordedQuery(benchmark::State& state) {
    QTemporaryDir directory;
    BenchWindow window(directory.path());
    window.wbscdaochu();  // the header, once
    for (auto _ : state) {
        window.wbscdaochu();
    }
}
BENCHMARK(BM_RecordedQuery);

}  // namespace

BENCHMARK_MAIN();
