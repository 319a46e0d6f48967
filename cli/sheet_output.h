// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a document where --html or --pdf says, as every output file is
// written: never replaced silently, never left half-written.
#pragma once

#include <ostream>

#include "cli/command_line.h"
#include "sheet/document.h"

namespace veltrane::cli {

// Returns 0, or the exit status of the failure it reported on err.
int SaveSheet(const CommandLine& c, const sheet::Document& doc, std::ostream& err);

}  // namespace veltrane::cli
