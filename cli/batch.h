// SPDX-License-Identifier: GPL-3.0-or-later
// veltrane-calc --batch: one calculation per CSV row.
#pragma once

#include <ostream>
#include <string_view>

#include "cli/cli_error.h"
#include "hydraulics/user_sections.h"

namespace veltrane::cli {

// Reads CSV text (decoded, see input_text.h) with the columns size,
// discharge, slope, roughness and factor (in any order, more allowed) and
// writes one result row per input row to out, in order, as it goes; bom puts
// a UTF-8 byte order mark before the output. Nothing is written when the
// header lacks a column (an input error, exit 2); a failed write of out is a
// write error (exit 3).
CommandResult RunBatch(std::string_view text, bool bom, std::ostream& out,
                       const SectionSet& sections = SectionSet());

}  // namespace veltrane::cli
