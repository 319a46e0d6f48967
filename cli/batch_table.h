// SPDX-License-Identifier: GPL-3.0-or-later
// The batch calculation as a table of texts: what --batch writes as CSV, and
// what the web page shows, from one row-to-cells function, so that neither
// parses the other's CSV.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch_rows.h"
#include "views/batch_problems.h"

namespace veltrane::cli {

// The result's column headings, in order: the five inputs, the status, the
// report's nine numbers and the message.
inline constexpr std::array<std::string_view, 16> kBatchResultColumns = {"size",
                                                                         "discharge",
                                                                         "slope",
                                                                         "roughness",
                                                                         "factor",
                                                                         "status",
                                                                         "check_discharge",
                                                                         "design_depth",
                                                                         "check_depth",
                                                                         "velocity",
                                                                         "surface_width",
                                                                         "area",
                                                                         "wetted_perimeter",
                                                                         "hydraulic_radius",
                                                                         "chezy",
                                                                         "message"};

// One input row's result: the inputs as given; "report" and the numbers as
// the report prints them (".516"); "message" and the calculation's message;
// or "error" and the row's problem in English ("line 2: unknown size 'U70'").
// Cells that do not apply are "".
std::vector<std::string> BatchResultCells(const BatchRow& row);

struct BatchResultRow {
    std::vector<std::string> cells{};  // one per kBatchResultColumns
    views::RowProblem problem{};       // a bad row's problem, to say in another language
};

struct BatchTable {
    std::optional<views::FileProblem> problem;  // the file cannot be used; rows is empty
    std::vector<BatchResultRow> rows;
};

// Every row of a batch file's text (decoded: see DecodeInputText), calculated.
BatchTable RunBatchTable(std::string_view text, const SectionSet& sections = SectionSet());

}  // namespace veltrane::cli
