// SPDX-License-Identifier: GPL-3.0-or-later
// veltrane-calc capacity, solve-slope and select-table: the design aids.
#pragma once

#include <ostream>

#include "cli/command_line.h"

namespace veltrane::cli {

// capacity SIZE SLOPE ROUGHNESS FACTOR
int RunCapacity(const CommandLine& c, std::ostream& out, std::ostream& err);

// solve-slope SIZE DISCHARGE ROUGHNESS FACTOR
int RunSolveSlope(const CommandLine& c, std::ostream& out, std::ostream& err);

// select-table ROUGHNESS FACTOR --slopes LIST
int RunSelectTable(const CommandLine& c, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli
