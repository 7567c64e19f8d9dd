// SPDX-License-Identifier: GPL-3.0-or-later
// Time of one full query (both chains) for a held character, a late group's character and a miss.
#include <benchmark/benchmark.h>

#include <QString>

#include "query/character_query.h"

namespace {

void fullQuery(benchmark::State& state, const char16_t* text) {
    const QString character = QString::fromUtf16(text);
    for (auto _ : state) benchmark::DoNotOptimize(queryCharacter(character));
}

BENCHMARK_CAPTURE(fullQuery, first_group, u"啊");
BENCHMARK_CAPTURE(fullQuery, last_group, u"做");
BENCHMARK_CAPTURE(fullQuery, held_nowhere, u"曹");

}  // namespace

BENCHMARK_MAIN();
