// SPDX-License-Identifier: GPL-3.0-or-later
// Time of one full query (both chains): fixed keys, random held characters, and the floor of a
// direct index that gives the same two QStrings for the same random characters, with the
// medians' ratio printed at the end.
#include <benchmark/benchmark.h>

#include <QString>
#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "query/character_query.h"
#include "tables/groups.h"

namespace {

void fullQuery(benchmark::State& state, const char16_t* text) {
    const QString character = QString::fromUtf16(text);
    for (auto _ : state) benchmark::DoNotOptimize(queryCharacter(character));
}

BENCHMARK_CAPTURE(fullQuery, first_group, u"啊");
BENCHMARK_CAPTURE(fullQuery, last_group, u"做");
BENCHMARK_CAPTURE(fullQuery, held_nowhere, u"曹");

// Every held character once, in a fixed random order: text jumps between groups, and a key
// that stays in the cache from one iteration to the next would flatter the lookups.
const std::vector<char16_t>& randomHeldCharacters() {
    static const std::vector<char16_t> characters = [] {
        std::vector<char16_t> all;
        for (const Group& group : allGroups()) {
            for (const CodeEntry& row : group.rows()) all.push_back(row.character);
        }
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        std::shuffle(all.begin(), all.end(), std::mt19937(20240611));
        return all;
    }();
    return characters;
}

void randomHeld(benchmark::State& state) {
    const std::vector<char16_t>& keys = randomHeldCharacters();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(queryCharacter(QStringView(&keys[i], 1)));
        if (++i == keys.size()) i = 0;
    }
}

QString fromTable(std::u16string_view text) {
    return QString::fromRawData(reinterpret_cast<const QChar*>(text.data()),
                                static_cast<qsizetype>(text.size()));
}

// The floor: the two results of every code unit in a table indexed directly by it, made into
// QStrings as the query makes them.
[[gnu::noinline]] QueryResult directIndexQuery(char16_t unit) {
    static const auto table = [] {
        auto rows = std::make_unique<std::array<const CodeEntry*, 0x10000>>();
        rows->fill(nullptr);
        for (const Group& group : allGroups()) {
            for (const CodeEntry& row : group.rows()) {
                if (!(*rows)[row.character]) (*rows)[row.character] = &row;
            }
        }
        return rows;
    }();
    const CodeEntry* row = (*table)[unit];
    if (!row) return {fromTable(kNoWubiCode), QString()};
    return {fromTable(row->wubiCode()),
            row->syllable().empty() ? QString() : fromTable(row->syllable())};
}

void directIndex(benchmark::State& state) {
    const std::vector<char16_t>& keys = randomHeldCharacters();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(directIndexQuery(keys[i]));
        if (++i == keys.size()) i = 0;
    }
}

BENCHMARK(randomHeld)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(directIndex)->Repetitions(15)->ReportAggregatesOnly(true);

// Prints each median's multiple of the direct index's median after the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                m_medians[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto floor = m_medians.find("directIndex");
        if (floor == m_medians.end() || floor->second <= 0) return;
        for (const auto& [name, median] : m_medians) {
            std::printf("%-16s median %8.2f ns CPU = %6.2f x the direct index\n", name.c_str(),
                        median, median / floor->second);
        }
    }

private:
    std::map<std::string, double> m_medians;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
