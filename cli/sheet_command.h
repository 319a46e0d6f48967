// SPDX-License-Identifier: GPL-3.0-or-later
// veltrane-calc sheet: the calculation sheet of one reach, or of every reach
// of a canal, as HTML or PDF.
#pragma once

#include <istream>
#include <ostream>

#include "cli/cli_error.h"
#include "cli/command_line.h"
#include "sheet/sheet_builder.h"

namespace veltrane::cli {

// sheet SIZE DISCHARGE SLOPE ROUGHNESS FACTOR, or sheet --batch FILE; "-"
// reads in; err hears that a canal file was read as GB18030. For one reach
// 0 when the run gives a report and 1 for a message (the sheet is written
// either way); 0 for a canal.
CommandResult RunSheet(const CommandLine& c, std::istream& in, std::ostream& err);

// The title block and signatures as the options give them; today's date
// where --date is not given.
sheet::ReachDetails DetailsFrom(const CommandLine& c);

}  // namespace veltrane::cli
