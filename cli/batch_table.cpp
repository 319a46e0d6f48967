// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/batch_table.h"

#include "hydraulics/calculation_run.h"

namespace veltrane::cli {

namespace {

// The report's numbers fill the columns from check_discharge to chezy.
constexpr std::size_t kStatusColumn = kBatchColumnCount;
constexpr std::size_t kMessageColumn = kBatchResultColumns.size() - 1;
static_assert(kMessageColumn - kStatusColumn - 1 == kReportLineCount);

}  // namespace

std::vector<std::string> BatchResultCells(const BatchRow& row) {
    std::vector<std::string> cells(kBatchResultColumns.size());
    for (std::size_t c = 0; c < kBatchColumnCount; ++c) {
        cells[c] = row.values[c];
    }
    if (!row.section) {
        cells[kStatusColumn] = "error";
        cells[kMessageColumn] = views::RowProblemText(row.problem, views::Language::English);
        return cells;
    }
    const CalculationOutcome outcome = RunCalculation(
        *row.section,
        {row.values[kDischarge], row.values[kSlope], row.values[kRoughness], row.values[kFactor]});
    if (!outcome.isReport()) {
        cells[kStatusColumn] = "message";
        cells[kMessageColumn] = outcome.message().text;
        return cells;
    }
    cells[kStatusColumn] = "report";
    const auto& printed = outcome.report().printed;
    for (std::size_t i = 0; i < printed.size(); ++i) {
        cells[kStatusColumn + 1 + i] = printed[i];
    }
    return cells;
}

BatchTable RunBatchTable(std::string_view text, const SectionSet& sections) {
    BatchTable table;
    table.problem = ReadBatchRows(
        text, {},
        [&](const BatchRow& row) {
            table.rows.push_back({.cells = BatchResultCells(row), .problem = row.problem});
            return true;
        },
        sections);
    return table;
}

}  // namespace veltrane::cli
