// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a document where --html or --pdf says, as every output file is
// written: never replaced silently, never left half-written.
#pragma once

#include <vector>

#include "cli/cli_error.h"
#include "cli/command_line.h"
#include "sheet/document.h"
#include "sheet/sheet_builder.h"

namespace veltrane::cli {

Step SaveSheet(const CommandLine& c, const sheet::Document& doc);

// A canal's sheet: its page written as it is made, reach by reach, so that
// memory stays that of the summary and one reach, not of the whole page;
// tail (a chapter of the whole canal) after the last reach.
Step SaveCanal(const CommandLine& c, const std::vector<sheet::CanalRow>& rows,
               const std::vector<sheet::Block>& tail = {});

}  // namespace veltrane::cli
