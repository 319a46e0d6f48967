// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation sheet: one reach as HTML and as PDF, and a canal of 200
// reaches as PDF.
#include <benchmark/benchmark.h>

#include <vector>

#include "sheet/html_writer.h"
#include "sheet/sheet_builder.h"
#include "sheet_pdf/pdf_printer.h"

namespace {

using namespace veltrane;

sheet::SheetRequest Reach(int i) {
    return {.section = StandardRef(static_cast<SectionSize>(i % kSectionCount)),
            .discharge = i % 7 == 0 ? "9" : "0.25",
            .slope = "500",
            .roughness = "0.017",
            .factor = "1.1",
            .reach = {.project = "示范灌区",
                      .channel = "支渠 " + std::to_string(i),
                      .station = std::to_string(i) + "+000",
                      .designer = "张三",
                      .date = "2026年12月8日"},
            .criteria = {.minFreeboard = 0.05, .minVelocity = 0.3, .maxVelocity = 2.5}};
}

void BM_SheetHtml(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(sheet::WriteHtml(sheet::BuildSheet(Reach(1))));
    }
}
BENCHMARK(BM_SheetHtml)->Unit(benchmark::kMillisecond);

void BM_SheetPdf(benchmark::State& state) {
    sheet::PrintPdf(sheet::BuildSheet(Reach(1)));  // starts Qt once, outside the timing
    for (auto _ : state) {
        benchmark::DoNotOptimize(sheet::PrintPdf(sheet::BuildSheet(Reach(1))));
    }
}
BENCHMARK(BM_SheetPdf)->Unit(benchmark::kMillisecond);

void BM_Canal200Pdf(benchmark::State& state) {
    std::vector<sheet::CanalRow> rows;
    for (int i = 0; i < 200; ++i) {
        rows.push_back({.line = static_cast<std::size_t>(i + 2), .request = Reach(i)});
    }
    sheet::PrintPdf(sheet::BuildSheet(Reach(1)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(sheet::PrintPdf(sheet::BuildCanal(rows)));
    }
}
BENCHMARK(BM_Canal200Pdf)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
