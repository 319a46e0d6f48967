// SPDX-License-Identifier: GPL-3.0-or-later
// A U-section's geometry at any depth, for the water surface along a canal:
// the bottom arc of radius r and the straight walls tangent to it, inclined
// at α from the vertical. Exact (no stepped depths, π to double precision
// for the arc), and continuous with its first derivatives at the tangent
// depth. Above the channel depth H the walls are continued, so that an
// overtopping depth still has an area: it is flagged by the checks, not lost.
// Lengths in m, areas in m².
#pragma once

#include "hydraulics/section_catalogue.h"

namespace veltrane::canal {

struct SectionShape {
    double radius = 0;        // r, m, > 0
    double alpha = 0;         // wall angle from the vertical, rad, 0 to π/4
    double channelDepth = 0;  // H, m
    double tangentDepth = 0;  // r (1 − sin α): where the arc meets the walls, m
    double halfArc = 0;       // half the arc's central angle, π/2 − α, rad
    // At the tangent depth, and the walls' rates, worked out once: most
    // depths of a profile lie in the walls.
    double tangentArea = 0, tangentPerimeter = 0, tangentWidth = 0, tangentMoment = 0;
    double wallSpread = 0;  // tan α: half the width's growth per metre of depth
    double wallLength = 0;  // 1 / cos α: a wall's length per metre of depth

    // The row's r, α (its degrees, as the row gives them) and H.
    static SectionShape Of(const USection& section);
    // Any U: r > 0, 0 ≤ α < π/4, H > 0.
    static SectionShape Of(double radius, double alpha, double channelDepth);
};

// The section filled to depth h (m, > 0).
struct ShapeAt {
    double area = 0;        // A, m²
    double perimeter = 0;   // wetted perimeter P (χ), m
    double width = 0;       // top width B = dA/dh, m
    double dWidth = 0;      // dB/dh
    double dPerimeter = 0;  // dP/dh
    double moment = 0;      // first moment of A about the surface, ∫₀ʰ A dh, m³
};

ShapeAt ShapeAtDepth(const SectionShape& shape, double h);

}  // namespace veltrane::canal
