// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/section_hydraulics.h"

#include <algorithm>
#include <cmath>

namespace veltrane {

namespace {

// Trigonometry of the walls, fixed per section. A search evaluates hundreds of
// depths, so these are taken once; the values are the same as per depth.
struct WallTrig {
    double sinAlpha;
    double cosAlpha;
    double tanAlpha;
    double tangentDepth;
    double sinBeta;  // sine of half the arc's central angle
};

WallTrig MakeWallTrig(const USection& s) {
    WallTrig w{};
    w.sinAlpha = std::sin(s.alphaPi / 180);
    w.cosAlpha = std::cos(s.alphaPi / 180);
    w.tanAlpha = std::tan(s.alphaPi / 180);
    w.tangentDepth = s.radius - w.sinAlpha * s.radius;
    w.sinBeta = std::sin(s.betaPi / 180);
    return w;
}

// The expressions below keep the operand order and literals of the design
// method so that every result matches it to the last bit; do not simplify.
// Everything at depth h that does not depend on the slope: all but Q and V.
FlowElements EvaluateShape(const USection& s, const WallTrig& w, double h, double n,
                           SearchKind kind) {
    const double r = s.radius;
    FlowElements e;
    e.depth = h;
    if (h <= w.tangentDepth) {
        const double d = r - h;  // arc centre above the water surface, > 0 here
        const double half = std::pow(std::pow(r, 2) - std::pow(d, 2), 0.5);
        double phiDeg;  // half the wetted central angle, degrees
        double halfAngle = 0;
        if (kind == SearchKind::Design) {
            halfAngle = std::atan(half / d);
            phiDeg = halfAngle * 180 / s.piDeg;
        } else {
            phiDeg = 90 - std::atan(d / half) * 180 / kPi;
        }
        const double thetaDeg = phiDeg + phiDeg;
        e.area = std::pow(r, 2) * ((thetaDeg / 360) * kPi) - half * d;
        e.wettedPerimeter = (((thetaDeg / 360) * 2) * kPi) * r;
        if (kind == SearchKind::Design) {
            e.surfaceWidth = std::sin(halfAngle) * s.twoRadius;
        }
    } else {
        const double above = h - w.tangentDepth;  // water above the tangent points, m
        e.area = std::pow(r, 2) * ((s.arcAngle / 360) * kPi) - w.sinAlpha * r * r * w.cosAlpha +
                 above * (w.cosAlpha * r) * 2 + above * above * w.tanAlpha;
        const double arc = (s.arcAngle / 360) * kPi;
        e.wettedPerimeter = (arc + arc) * r + (2 * above) / w.cosAlpha;
        if (kind == SearchKind::Design) {
            e.surfaceWidth = w.sinBeta * s.twoRadius + (2 * above) * w.tanAlpha;
        }
    }
    e.hydraulicRadius = e.area / e.wettedPerimeter;
    e.chezy = (1.0 / n) * std::pow(e.hydraulicRadius, 1.0 / 6.0);
    return e;
}

// Q and V of shape elements on a slope 1/x.
FlowElements OnSlope(FlowElements e, double x, SearchKind kind) {
    e.discharge = (e.area * e.chezy) * std::pow(e.hydraulicRadius / x, 0.5);
    if (kind == SearchKind::Design) {
        e.velocity = e.discharge / e.area;
    }
    return e;
}

FlowElements Evaluate(const USection& s, const WallTrig& w, double h, const ChannelBed& bed,
                      SearchKind kind) {
    return OnSlope(EvaluateShape(s, w, h, bed.roughness, kind), bed.slope, kind);
}

}  // namespace

double TangentDepth(const USection& section) {
    return MakeWallTrig(section).tangentDepth;
}

FlowElements ComputeFlowElements(const USection& section, double h, const ChannelBed& bed,
                                 SearchKind kind) {
    return Evaluate(section, MakeWallTrig(section), h, bed, kind);
}

DepthSearchResult SearchDepth(const USection& section, double targetDischarge,
                              const ChannelBed& bed, SearchKind kind) {
    const WallTrig trig = MakeWallTrig(section);
    const double step = 0.001;
    DepthSearchResult result;
    double h = 0.001;
    double discharge = 0;
    // The depth is carried forward by repeated addition, never as i · step:
    // the drift of the sum decides which depth is the deepest evaluated.
    bool first = true;
    while (discharge <= targetDischarge && h <= section.channelDepth) {
        if (!first) {
            result.previous = result.elements;
        }
        first = false;
        result.elements = Evaluate(section, trig, h, bed, kind);
        discharge = result.elements.discharge;
        h = h + step;
    }
    result.reportedDepth = h;
    result.overflow = h > section.channelDepth;
    return result;
}

DepthGrid::DepthGrid(const USection& section, double roughness, SearchKind kind) : kind_(kind) {
    const WallTrig trig = MakeWallTrig(section);
    double h = 0.001;
    while (h <= section.channelDepth) {
        shapes_.push_back(EvaluateShape(section, trig, h, roughness, kind));
        h = h + 0.001;
    }
    beyond_ = h;
}

double DepthGrid::DischargeAt(std::size_t i, double slope) const {
    return OnSlope(shapes_[i], slope, kind_).discharge;
}

std::size_t DepthGrid::FirstAbove(double target, double slope, std::size_t hint) const {
    std::size_t i = std::min(hint, shapes_.size());
    while (i > 0 && DischargeAt(i - 1, slope) > target) {
        --i;
    }
    while (i < shapes_.size() && DischargeAt(i, slope) <= target) {
        ++i;
    }
    return i;
}

DepthSearchResult DepthGrid::Search(double target, double slope, std::size_t& hint) const {
    const std::size_t i = FirstAbove(target, slope, hint);
    hint = i;
    DepthSearchResult result;
    const std::size_t last = std::min(i, shapes_.size() - 1);
    result.elements = OnSlope(shapes_[last], slope, kind_);
    if (last > 0) {
        result.previous = OnSlope(shapes_[last - 1], slope, kind_);
    }
    result.reportedDepth = i + 1 < shapes_.size() ? shapes_[i + 1].depth : beyond_;
    result.overflow = i + 1 >= shapes_.size();
    return result;
}

}  // namespace veltrane
