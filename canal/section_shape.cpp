// SPDX-License-Identifier: GPL-3.0-or-later
#include "canal/section_shape.h"

#include <cmath>
#include <numbers>

namespace veltrane::canal {

namespace {

// The arc filled to the half angle θ (the water's edge seen from the arc's
// centre, measured from the vertical): A = r²(θ − sinθ cosθ), P = 2rθ,
// B = 2r sinθ, and ∫A dh = r³(sinθ − θcosθ − sin³θ / 3), from dh = r sinθ dθ.
ShapeAt Arc(double r, double theta) {
    const double s = std::sin(theta), c = std::cos(theta);
    ShapeAt at;
    at.area = r * r * (theta - s * c);
    at.perimeter = 2 * r * theta;
    at.width = 2 * r * s;
    // dθ/dh = 1 / (r sinθ); at the very bottom both grow without bound.
    at.dWidth = 2 * c / s;
    at.dPerimeter = 2 / s;
    at.moment = r * r * r * (s - theta * c - s * s * s / 3);
    return at;
}

}  // namespace

SectionShape SectionShape::Of(const USection& section) {
    // The row holds α times the program's π; α in radians is that over 180.
    return Of(section.radius, section.alphaPi / 180.0, section.channelDepth);
}

SectionShape SectionShape::Of(double radius, double alpha, double channelDepth) {
    SectionShape s;
    s.radius = radius;
    s.alpha = alpha;
    s.channelDepth = channelDepth;
    s.tangentDepth = radius * (1.0 - std::sin(alpha));
    s.halfArc = std::numbers::pi / 2 - alpha;
    const ShapeAt t = Arc(radius, s.halfArc);
    s.tangentArea = t.area;
    s.tangentPerimeter = t.perimeter;
    s.tangentWidth = t.width;
    s.tangentMoment = t.moment;
    s.wallSpread = std::tan(alpha);
    s.wallLength = 1 / std::cos(alpha);
    return s;
}

ShapeAt ShapeAtDepth(const SectionShape& shape, double h) {
    const double r = shape.radius;
    if (h <= shape.tangentDepth) {
        const double cosine = 1 - h / r;
        return Arc(r, std::acos(cosine < -1 ? -1 : cosine > 1 ? 1 : cosine));
    }
    // The walls: the width grows by 2 tanα per metre, the perimeter by 2 / cosα.
    const double y = h - shape.tangentDepth;
    const double spread = shape.wallSpread;
    ShapeAt at;
    at.width = shape.tangentWidth + 2 * y * spread;
    at.area = shape.tangentArea + y * (shape.tangentWidth + y * spread);
    at.perimeter = shape.tangentPerimeter + 2 * y * shape.wallLength;
    at.dWidth = 2 * spread;
    at.dPerimeter = 2 * shape.wallLength;
    at.moment = shape.tangentMoment + shape.tangentArea * y + shape.tangentWidth * y * y / 2 +
                spread * y * y * y / 3;
    return at;
}

}  // namespace veltrane::canal
