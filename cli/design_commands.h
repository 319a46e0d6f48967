// SPDX-License-Identifier: GPL-3.0-or-later
// veltrane-calc fit and veltrane-calc table: which standard section carries
// a discharge, and the rating table of one section.
#pragma once

#include <ostream>

#include "cli/cli_error.h"
#include "cli/command_line.h"

namespace veltrane::cli {

// fit DISCHARGE SLOPE ROUGHNESS FACTOR; err hears a rejected input's message.
CommandResult RunFit(const CommandLine& c, std::ostream& out, std::ostream& err);

// table SIZE SLOPE ROUGHNESS; err hears a rejected input's message.
CommandResult RunTable(const CommandLine& c, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli
