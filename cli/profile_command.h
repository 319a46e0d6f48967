// SPDX-License-Identifier: GPL-3.0-or-later
// veltrane-calc profile: the water surface along a canal from its CSV file.
#pragma once

#include <istream>
#include <ostream>

#include "canal/canal_model.h"
#include "cli/cli_error.h"
#include "cli/command_line.h"

namespace veltrane::cli {

// Exit 0 when the water stays within the channel and every check holds, 1
// when one fails; 2 for a file or an option that cannot be used.
CommandResult RunProfile(const CommandLine& c, std::istream& in, std::ostream& out,
                         std::ostream& err);

// The profile as veltrane-calc profile --json writes it (one line, no break).
std::string ProfileJson(const canal::CanalRequest& request, const canal::CanalProfile& profile);

// The run's conditions from the options: --factor, --end, --spacing and
// --min-freeboard into request, or the usage error.
Step ReadConditions(const CommandLine& c, canal::CanalRequest& request);

// The usage error where the reaches at the spacing make more stations than
// a run may (a million).
Step CheckStations(const CommandLine& c, const canal::CanalRequest& request);

}  // namespace veltrane::cli
