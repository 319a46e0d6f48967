// SPDX-License-Identifier: GPL-3.0-or-later
// The SIZE operand of a single calculation, sheet, table and the design aids.
#pragma once

#include <string_view>

#include "cli/cli_error.h"
#include "hydraulics/user_sections.h"

namespace veltrane::cli {

// U60 … U140 or D60 … D140 (any case), a row of sections (the catalogue),
// or a one-off "U:r=…,alpha=…,H=…"; else the usage error "unknown size X",
// or what is wrong with the one-off section.
Outcome<SectionRef> SizeOperand(std::string_view text, const SectionSet& sections);

}  // namespace veltrane::cli
