// veltrane-calc fit and veltrane-calc table: which standard section carries
// a discharge, and the rating table of one section.
#pragma once

#include <ostream>
#include <string_view>
#include <vector>

namespace veltrane::cli {

// fit DISCHARGE SLOPE ROUGHNESS FACTOR [--json | --csv] [--svg FILE [--force]]
// args start after "fit". Returns the exit status.
int RunFit(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err);

// table SIZE SLOPE ROUGHNESS [--step S] [--csv | --json]
int RunTable(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli
