// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of a batch CSV file, checked and named: the part that --batch and
// sheet --batch share.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hydraulics/section_catalogue.h"

namespace veltrane::cli {

// The columns every batch file has, in this order, before any optional ones.
enum BatchColumn { kSize, kDischarge, kSlope, kRoughness, kFactor, kBatchColumnCount };

struct BatchRow {
    std::size_t line = 0;  // where the record starts in the file
    // The fields of the required columns, then of the optional ones asked
    // for, in that order; "" for an optional column the file lacks.
    std::vector<std::string_view> values;
    std::optional<SectionSize> size;  // set when the row is good
    std::string problem;              // why the row is bad; empty for a good row
};

// Reads CSV with the columns size, discharge, slope, roughness and factor,
// and the optional columns asked for (any order, any case, more allowed),
// and calls onRow for each row in order; blank lines are skipped. onRow
// returns false to stop. name is the input's name in messages. Returns the
// exit status: 2 when the header lacks a column or the input cannot be read
// (said on err), else 0.
int ReadBatchRows(std::istream& in, std::string_view name,
                  std::span<const std::string_view> optionalColumns, std::ostream& err,
                  const std::function<bool(const BatchRow&)>& onRow);

}  // namespace veltrane::cli
