// SPDX-License-Identifier: GPL-3.0-or-later
// veltrane-calc --batch: one calculation per CSV row.
#pragma once

#include <istream>
#include <ostream>
#include <string_view>

namespace veltrane::cli {

// Reads CSV with the columns size, discharge, slope, roughness and factor (in
// any order, more allowed) from in, row by row, and writes one result row per
// input row, in order. name is the input's name in messages; bom puts a
// UTF-8 byte order mark before the output. Returns the exit status: 2 for a
// header without those columns or an input that cannot be read, 3 when out
// fails, else 0.
int RunBatch(std::istream& in, std::string_view name, bool bom, std::ostream& out,
             std::ostream& err);

}  // namespace veltrane::cli
