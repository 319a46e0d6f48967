// SPDX-License-Identifier: GPL-3.0-or-later
// The SIZE operand of a single calculation, sheet, table and the design aids.
#pragma once

#include <string_view>

#include "cli/cli_error.h"
#include "hydraulics/section_catalogue.h"

namespace veltrane::cli {

// U60 … U140 or D60 … D140, any case; else the usage error "unknown size X".
Outcome<SectionSize> SizeOperand(std::string_view text);

}  // namespace veltrane::cli
