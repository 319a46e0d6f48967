// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of a batch CSV file, checked and named: the part that --batch,
// sheet --batch and the web page share.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "hydraulics/user_sections.h"
#include "views/batch_problems.h"

namespace veltrane::cli {

// The columns every batch file has, in this order, before any optional ones.
enum BatchColumn { kSize, kDischarge, kSlope, kRoughness, kFactor, kBatchColumnCount };

struct BatchRow {
    std::size_t line = 0;  // where the record starts in the file
    // The fields of the required columns, then of the optional ones asked
    // for, in that order; "" for an optional column the file lacks.
    std::vector<std::string_view> values;
    SectionRef section;           // set when the row is good
    views::RowProblem problem{};  // why the row is bad; Kind::None for a good row
};

// Reads CSV text (UTF-8, decoded, see input_text.h) with the columns size,
// discharge, slope, roughness and factor, and the optional columns asked
// for (any order, any case, more allowed), and calls onRow for each row in
// order; blank lines are skipped. onRow returns false to stop. Returns what
// is wrong with the file as a whole (no header, a column missing or named
// twice), before any row; nullopt otherwise.
// The size column names a section of sections: a standard size, or a row of
// the user's catalogue.
std::optional<views::FileProblem> ReadBatchRows(std::string_view text,
                                                std::span<const std::string_view> optionalColumns,
                                                const std::function<bool(const BatchRow&)>& onRow,
                                                const SectionSet& sections = SectionSet());

}  // namespace veltrane::cli
