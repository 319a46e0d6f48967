// SPDX-License-Identifier: GPL-3.0-or-later
// A command's drawing where --svg and --dxf say, each made only when asked
// for; written as every output file is.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/cli_error.h"
#include "cli/command_line.h"
#include "sheet/section_svg.h"

namespace veltrane::cli {

// Cross-sections for CAD (see handoff/section_dxf.h); "" in a build without
// DXF, where SaveDrawing refuses --dxf before asking for it.
std::string DrawingDxf(const std::vector<sheet::SvgPanel>& panels, const std::string& title);

Step SaveDrawing(const CommandLine& c, const std::function<std::string()>& svg,
                 const std::function<std::string()>& dxf);

}  // namespace veltrane::cli
