// SPDX-License-Identifier: GPL-3.0-or-later
// The design aids: capacity of one section, the slope range of one
// discharge, and a selection table of six slopes by five sections.
#include <benchmark/benchmark.h>

#include "hydraulics/design_aids.h"

namespace {

using namespace veltrane;

const DesignCriteria kCriteria{.minFreeboard = 0.05, .minVelocity = 0.3, .maxVelocity = 2.5};

void BM_Capacity(benchmark::State& state) {
    const USection& u140 = LookupSection(SectionSize::U140);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindCapacity(u140, "500", "0.017", "1.2", kCriteria));
    }
}
BENCHMARK(BM_Capacity)->Unit(benchmark::kMillisecond);

void BM_SolveSlope(benchmark::State& state) {
    const USection& u140 = LookupSection(SectionSize::U140);
    for (auto _ : state) {
        benchmark::DoNotOptimize(SolveSlope(u140, "1.2", "0.017", "1.2", kCriteria));
    }
}
BENCHMARK(BM_SolveSlope)->Unit(benchmark::kMillisecond);

void BM_SelectionTable6x5(benchmark::State& state) {
    const long slopes[] = {300, 500, 1000, 2000, 3000, 5000};
    for (auto _ : state) {
        benchmark::DoNotOptimize(SelectionTable(slopes, "0.017", "1.2", kCriteria));
    }
}
BENCHMARK(BM_SelectionTable6x5)->Unit(benchmark::kMillisecond);

}  // namespace
