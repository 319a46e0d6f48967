// SPDX-License-Identifier: GPL-3.0-or-later
// The canal's longitudinal profile for CAD, in metres at 1:1: x the chainage
// from the head, y the level. The bed and the channel's top (layer 断面) and
// each water surface (水面; the check flow's dashed) are one polyline each;
// the reaches' ends are marked (标注) and named with their size and slope,
// the stakes under them (文字). A CAD user exaggerates the levels as the
// drawing sheet wants.
#pragma once

#include <string>

#include "canal/canal_model.h"

namespace veltrane::handoff {

std::string ProfileDxf(const canal::CanalRequest& request, const canal::CanalProfile& profile);

}  // namespace veltrane::handoff
