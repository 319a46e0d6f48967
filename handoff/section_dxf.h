// SPDX-License-Identifier: GPL-3.0-or-later
// Cross-sections for CAD: the panels a drawing shows (one run, or the five
// of 选型) side by side in metres at 1:1, each with its axis at x = 0 plus
// its offset and its lowest point at y = 0: the inner outline as two wall
// lines and the bottom arc, the slab's outer outline, the water surface at
// the design depth and a dashed line at the check depth, and the texts.
#pragma once

#include <string>
#include <vector>

#include "sheet/section_svg.h"

namespace veltrane::handoff {

// The gap between two panels, m.
inline constexpr double kPanelGap = 0.4;

std::string SectionsDxf(const std::vector<sheet::SvgPanel>& panels, const std::string& title);

}  // namespace veltrane::handoff
