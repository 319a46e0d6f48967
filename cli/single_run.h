// SPDX-License-Identifier: GPL-3.0-or-later
// One calculation from the command line, as text or as JSON.
#pragma once

#include <ostream>
#include <string>

#include "cli/command_line.h"
#include "cli/json_writer.h"
#include "hydraulics/calculation_run.h"

namespace veltrane::cli {

// The report box text as lines: each CR LF becomes "\n", plus one final "\n".
std::string ReportAsLines(std::string_view report);

// "inputs":{"discharge":…,"slope":…,"roughness":…,"factor":…}
void WriteInputs(JsonWriter& j, const ParsedInputs& inputs);

// "status":"message","message":…,"box":…
void WriteMessage(JsonWriter& j, const CalculationMessage& message);

// The same message a single calculation gives, for any command: to stderr,
// or as JSON after the lead members already in j. It is the command's
// result, not an error: returns kExitMessage.
ExitCode RejectedInput(const CalculationMessage& m, JsonWriter& j, Format format, std::ostream& out,
                       std::ostream& err);

// The outcome as one JSON object, without a trailing line break. A report
// carries "extras": the Froude number and regime at the design depth, the
// critical depth, the freeboard at the check depth and the capacity.
std::string OutcomeAsJson(const USection& section, const CalculationOutcome& outcome);

}  // namespace veltrane::cli
