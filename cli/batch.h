// veltrane-calc --batch: one calculation per CSV row.
#pragma once

#include <ostream>
#include <string_view>

namespace veltrane::cli {

// Reads CSV with the columns size, discharge, slope, roughness and factor (in
// any order, more allowed) and writes one result row per input row, in order.
// Returns the exit status: 2 for a header without those columns, else 0.
int RunBatch(std::string_view csv, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli
