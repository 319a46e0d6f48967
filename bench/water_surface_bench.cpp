// SPDX-License-Identifier: GPL-3.0-or-later
// The water surface of long canals: 100 reaches over 20 km at 1 m spacing
// (goal: under 50 ms), and 1,000 reaches at the hundred-metre stakes (goal:
// under 1 s), both for Q and kQ.
#include <benchmark/benchmark.h>

#include "canal/water_surface.h"

namespace {

using namespace veltrane;
using namespace veltrane::canal;

// Reaches of 200 m cycling through the sizes from large to small, with
// offtakes and alternating slopes, so that every junction has a transition.
CanalRequest LongCanal(int reaches, double spacing) {
    CanalRequest request;
    request.factor = 1.2;
    request.spacing = spacing;
    for (int i = 0; i < reaches; ++i) {
        const auto size = static_cast<SectionSize>(4 - (i * 5 / reaches));
        Reach r;
        r.name = "渠段" + std::to_string(i + 1);
        r.sizeName = std::string(SectionName(size));
        r.shape = SectionShape::Of(LookupSection(size));
        r.section = StandardRef(size);
        r.length = 200;
        r.slope = i % 2 ? 1500 : 800;
        r.roughness = 0.015;
        r.discharge = 1.2 - 0.9 * i / reaches;
        r.loss = 0.1;
        request.reaches.push_back(r);
    }
    return request;
}

void BM_WaterSurface100ReachesAt1m(benchmark::State& state) {
    const CanalRequest request = LongCanal(100, 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeProfile(request));
    }
}
BENCHMARK(BM_WaterSurface100ReachesAt1m)->Unit(benchmark::kMillisecond);

void BM_WaterSurface1000Reaches(benchmark::State& state) {
    const CanalRequest request = LongCanal(1000, 100);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeProfile(request));
    }
}
BENCHMARK(BM_WaterSurface1000Reaches)->Unit(benchmark::kMillisecond);

}  // namespace
