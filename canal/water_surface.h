// SPDX-License-Identifier: GPL-3.0-or-later
// The water surface along a canal (水面线): the standard step method on the
// energy equation, with Manning's friction slope averaged between the two
// sections of a step, for Q and for kQ.
//
// - Subcritical flow is computed upstream from its downstream control (the
//   end condition, or a junction), supercritical flow downstream from its
//   upstream control: critical depth at the head of a steep reach after a
//   mild one or at the canal's head, or the energy across a junction from a
//   steep reach above.
// - A junction between reaches: the energy equation with the local loss of
//   the reach below, each side at its own discharge; the largest root above
//   the upper reach's critical depth, or, where there is none (a drop whose
//   tail water lies below the critical-depth level, or choking), critical
//   depth at the upper reach's end.
// - Where both regimes have a depth, the one with the larger specific force
//   holds; a jump stands where the two forces are equal.
// - Each step is halved until halving it changes the depth by less than
//   0.05 mm, so the profile is within 1 mm of the exact one.
#pragma once

#include "canal/canal_model.h"

namespace veltrane::canal {

// request must be sound (see CanalProblems in the reader): reaches, lengths,
// slopes, roughness and discharges positive, the factor 1 to 2, the spacing
// positive, no bed that rises.
CanalProfile ComputeProfile(const CanalRequest& request);

// The bed levels at each reach's two ends, m, as the request sets them.
struct BedLevels {
    double head = 0, end = 0;
};
std::vector<BedLevels> BedLevelsOf(const CanalRequest& request);

}  // namespace veltrane::canal
