// One calculation from the command line, as text or as JSON.
#pragma once

#include <string>

#include "hydraulics/calculation_run.h"

namespace veltrane::cli {

// Exit status of veltrane-calc: a report, a message, or a usage error.
enum ExitCode { kExitReport = 0, kExitMessage = 1, kExitUsage = 2 };

// The report box text as lines: each CR LF becomes "\n", plus one final "\n".
std::string ReportAsLines(std::string_view report);

// "inputs":{"discharge":…,"slope":…,"roughness":…,"factor":…}
std::string InputsJson(const ParsedInputs& inputs);

// The outcome as one JSON object, without a trailing line break. A report
// carries "extras": the Froude number and regime at the design depth, the
// critical depth, the freeboard at the check depth and the capacity.
std::string OutcomeAsJson(const USection& section, const CalculationOutcome& outcome);

}  // namespace veltrane::cli
