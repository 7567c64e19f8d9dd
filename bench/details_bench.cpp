// SPDX-License-Identifier: GPL-3.0-or-later
// Time of one details lookup of a random held character, and of one reverse lookup of its code.
#include <benchmark/benchmark.h>

#include <random>
#include <string_view>
#include <vector>

#include "tables/details.h"

namespace {

// Held characters drawn evenly from the unified ideographs and extensions A and B, so that
// most fall in the supplementary planes, as most of the details do.
const std::vector<char32_t>& randomCharacters() {
    static const std::vector<char32_t> characters = [] {
        std::mt19937 random(12);
        std::uniform_int_distribution<std::uint32_t> bmp(0x3400, 0x9FFF), plane2(0x20000, 0x2A6DF);
        std::vector<char32_t> drawn;
        while (drawn.size() < 4096) {
            const char32_t c = (random() & 1) ? bmp(random) : plane2(random);
            if (details::lookup(c)) drawn.push_back(c);
        }
        return drawn;
    }();
    return characters;
}

void lookup(benchmark::State& state) {
    const std::vector<char32_t>& characters = randomCharacters();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(details::lookup(characters[i++ & 4095]));
    }
}

void charactersWithCode(benchmark::State& state) {
    std::vector<std::string_view> codes;
    for (char32_t c : randomCharacters()) codes.push_back(details::lookup(c)->codes.back().code);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(details::charactersWithCode(codes[i++ & 4095]));
    }
}

BENCHMARK(lookup)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(charactersWithCode)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
