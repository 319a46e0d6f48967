// SPDX-License-Identifier: GPL-3.0-or-later
// The canal's longitudinal profile (纵断面图) as SVG: the bed, the channel's
// top and the water surfaces for Q and kQ along the chainage, drops and
// junctions, the jumps, the stretches where the water stands above the top
// in red, and a band beneath with each reach's name, size and slope and the
// chainage of its ends. In millimetres, for A4 landscape (a drawing of its
// own) or for the text width of A4 portrait (in a calculation sheet).
#pragma once

#include <string>

#include "canal/canal_model.h"

namespace veltrane::sheet {

enum class ProfilePaper { Landscape, Portrait };

std::string LongitudinalProfileSvg(const canal::CanalRequest& request,
                                   const canal::CanalProfile& profile,
                                   ProfilePaper paper = ProfilePaper::Landscape);

}  // namespace veltrane::sheet
