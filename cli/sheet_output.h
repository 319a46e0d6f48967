// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a document where --html or --pdf says, as every output file is
// written: never replaced silently, never left half-written.
#pragma once

#include "cli/cli_error.h"
#include "cli/command_line.h"
#include "sheet/document.h"

namespace veltrane::cli {

Step SaveSheet(const CommandLine& c, const sheet::Document& doc);

}  // namespace veltrane::cli
