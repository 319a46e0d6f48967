// SPDX-License-Identifier: GPL-3.0-or-later
// veltrane-calc sheet: the calculation sheet of one reach, or of every reach
// of a canal, as HTML or PDF.
#pragma once

#include <istream>
#include <ostream>

#include "cli/command_line.h"

namespace veltrane::cli {

// sheet SIZE DISCHARGE SLOPE ROUGHNESS FACTOR, or sheet --batch FILE; "-"
// reads in. Returns the exit status: for one reach 0 when the run gives a
// report and 1 for a message (the sheet is written either way); 0 for a canal.
int RunSheet(const CommandLine& c, std::istream& in, std::ostream& err);

}  // namespace veltrane::cli
