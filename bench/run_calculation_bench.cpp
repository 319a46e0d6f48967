// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of one calculation run and of the batch front end.
// Run: build with -DVELTRANE_BUILD_BENCHMARKS=ON, then build/bench/veltrane_bench.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/veltrane_cli.h"
#include "hydraulics/calculation_run.h"

namespace {

using namespace veltrane;

// U60 with its default texts: two searches of about 515 depths each.
void BM_RunCalculation_U60Defaults(benchmark::State& state) {
    const USection& u60 = LookupSection(SectionSize::U60);
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunCalculation(u60, {"0.25", "500", "0.017", "1.0"}));
    }
}
BENCHMARK(BM_RunCalculation_U60Defaults)->Unit(benchmark::kMicrosecond);

// U140 with a design overflow: the design search runs all 1050 depths, and
// the check search is not needed.
void BM_RunCalculation_U140DesignOverflow(benchmark::State& state) {
    const USection& u140 = LookupSection(SectionSize::U140);
    for (auto _ : state) {
        const auto outcome = RunCalculation(u140, {"100", "500", "0.017", "1.0"});
        benchmark::DoNotOptimize(outcome);
        if (outcome.isReport() || outcome.message().number != MessageNumber::DesignOverflow) {
            state.SkipWithError("expected a design overflow");
        }
    }
}
BENCHMARK(BM_RunCalculation_U140DesignOverflow)->Unit(benchmark::kMicrosecond);

// The slowest run there is: U140 whose design depth lies at 1.048 m and whose
// check search overflows, so both searches evaluate about 1,050 depths.
void BM_RunCalculation_U140WorstCase(benchmark::State& state) {
    const USection& u140 = LookupSection(SectionSize::U140);
    for (auto _ : state) {
        const auto outcome = RunCalculation(u140, {"1.97", "500", "0.017", "2"});
        benchmark::DoNotOptimize(outcome);
        if (outcome.isReport() || outcome.message().number != MessageNumber::CheckOverflow) {
            state.SkipWithError("expected a check overflow");
        }
    }
}
BENCHMARK(BM_RunCalculation_U140WorstCase)->Unit(benchmark::kMicrosecond);

constexpr int kBatchRows = 1000;

std::string BatchInput() {
    std::string csv = "size,discharge,slope,roughness,factor\n";
    for (int i = 0; i < kBatchRows; ++i) {
        csv += "U60,0.25,500,0.017,1.0\n";
    }
    return csv;
}

// The same rows through RunCalculation alone, the baseline for the batch.
void BM_Batch_CalculationsOnly(benchmark::State& state) {
    const USection& u60 = LookupSection(SectionSize::U60);
    for (auto _ : state) {
        for (int i = 0; i < kBatchRows; ++i) {
            benchmark::DoNotOptimize(RunCalculation(u60, {"0.25", "500", "0.017", "1.0"}));
        }
    }
}
BENCHMARK(BM_Batch_CalculationsOnly)->Unit(benchmark::kMillisecond);

// Reading, decoding, checking and writing the CSV on top of the same
// calculations, as veltrane-calc --batch - runs them.
void BM_Batch_WholeFile(benchmark::State& state) {
    const std::string csv = BatchInput();
    const std::vector<std::string_view> args = {"--batch", "-"};
    for (auto _ : state) {
        std::istringstream in(csv);
        std::ostringstream out;
        std::ostringstream err;
        benchmark::DoNotOptimize(cli::RunCli(args, in, out, err));
    }
}
BENCHMARK(BM_Batch_WholeFile)->Unit(benchmark::kMillisecond);

// veltrane-calc fit against the five single calculations it stands for, each
// as the command line runs it, output included.
int Cli(const std::vector<std::string_view>& args) {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    return cli::RunCli(args, in, out, err);
}

void BM_Fit(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(Cli({"fit", "0.4", "500", "0.017", "1.1"}));
    }
}
BENCHMARK(BM_Fit)->Unit(benchmark::kMicrosecond);

void BM_FiveSingleCalculations(benchmark::State& state) {
    for (auto _ : state) {
        for (std::string_view size : {"U60", "U80", "U100", "U120", "U140"}) {
            benchmark::DoNotOptimize(Cli({size, "0.4", "500", "0.017", "1.1"}));
        }
    }
}
BENCHMARK(BM_FiveSingleCalculations)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
