// SPDX-License-Identifier: GPL-3.0-or-later
// veltrane-calc capacity, solve-slope and select-table: the design aids.
#pragma once

#include <ostream>

#include "cli/cli_error.h"
#include "cli/command_line.h"

namespace veltrane::cli {

// capacity SIZE SLOPE ROUGHNESS FACTOR
CommandResult RunCapacity(const CommandLine& c, std::ostream& out, std::ostream& err);

// solve-slope SIZE DISCHARGE ROUGHNESS FACTOR
CommandResult RunSolveSlope(const CommandLine& c, std::ostream& out, std::ostream& err);

// select-table ROUGHNESS FACTOR --slopes LIST
CommandResult RunSelectTable(const CommandLine& c, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli
