// Just enough JSON output for veltrane-calc: objects written in order.
#pragma once

#include <string>
#include <string_view>

namespace veltrane::cli {

// Appends text as a JSON string literal, quotes included. UTF-8 passes through.
void AppendJsonString(std::string& out, std::string_view text);

// Appends the shortest text that reads back to the same double, or null for
// a value JSON cannot hold (infinity, NaN).
void AppendJsonNumber(std::string& out, double value);

}  // namespace veltrane::cli
