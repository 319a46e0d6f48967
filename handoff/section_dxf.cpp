// SPDX-License-Identifier: GPL-3.0-or-later
#include "handoff/section_dxf.h"

#include <algorithm>
#include <cmath>

#include "handoff/dxf_drawing.h"
#include "hydraulics/flow_extras.h"
#include "hydraulics/section_dimensions.h"
#include "hydraulics/section_hydraulics.h"
#include "views/numbers.h"

namespace veltrane::handoff {

namespace {

constexpr double kTextHeight = 0.025;  // m
constexpr double kDegrees = 180 / kPi;

// The outer half-width of a panel: the slab's wall at the channel depth.
struct Geometry {
    double r, delta, H, beta, tanAlpha;
    double innerTop, outerTop;  // half-widths at H, m
    double tangentX, tangentY;  // the inner tangent point, right side
};

Geometry Of(const USection& s) {
    Geometry g;
    g.r = s.radius;
    g.delta = sheet::SlabThickness(s);
    g.H = s.channelDepth;
    g.beta = s.betaPi / 180;
    g.tanAlpha = std::tan(s.alphaPi / 180);
    g.innerTop = HalfWidthAt(s, g.H);
    g.tangentX = g.r * std::sin(g.beta);
    g.tangentY = g.r - g.r * std::cos(g.beta);
    const double R = g.r + g.delta;
    g.outerTop = R * std::sin(g.beta) + (g.H - (g.r - R * std::cos(g.beta))) * g.tanAlpha;
    return g;
}

void Panel(DxfDrawing& d, const sheet::SvgPanel& p, double x0) {
    const USection& s = *p.section;
    const Geometry g = Of(s);
    const auto at = [x0](double x, double y) { return Point{x0 + x, y}; };
    // The inner outline: walls down to the tangent points, the arc between
    // them about its centre (0, r), counter-clockwise from left to right.
    d.Line(Layer::Section, at(-g.innerTop, g.H), at(-g.tangentX, g.tangentY));
    d.Arc(Layer::Section, at(0, g.r), g.r, 270 - g.beta * kDegrees, 270 + g.beta * kDegrees);
    d.Line(Layer::Section, at(g.tangentX, g.tangentY), at(g.innerTop, g.H));
    if (g.delta > 0) {
        const double R = g.r + g.delta;
        const double xt = R * std::sin(g.beta), yt = g.r - R * std::cos(g.beta);
        d.Line(Layer::Section, at(-g.outerTop, g.H), at(-xt, yt));
        d.Arc(Layer::Section, at(0, g.r), R, 270 - g.beta * kDegrees, 270 + g.beta * kDegrees);
        d.Line(Layer::Section, at(xt, yt), at(g.outerTop, g.H));
        d.Line(Layer::Section, at(-g.outerTop, g.H), at(-g.innerTop, g.H));
        d.Line(Layer::Section, at(g.innerTop, g.H), at(g.outerTop, g.H));
    }
    d.Line(Layer::Marks, at(0, -g.delta - 0.02), at(0, g.H + 0.02), true);  // the axis
    // The dimensions, as the drawing on paper gives them: H beside the left
    // wall, the radius from the arc's centre 20° off the vertical, α at the
    // right tangent point and δ under the bottom.
    const SectionDimensions& dim = s.dimensions;
    const int places = s.userDefined ? 5 : 3;  // a user's r and H as typed
    const double left = -g.outerTop - 0.04;
    d.Line(Layer::Marks, at(left, 0), at(left, g.H));
    d.Line(Layer::Marks, at(left - 0.01, 0), at(left + 0.01, 0));
    d.Line(Layer::Marks, at(left - 0.01, g.H), at(left + 0.01, g.H));
    d.Text(at(left - 0.01, g.H / 2), kTextHeight, "H = " + views::Decimal(g.H, places) + " m",
           Align::Right);
    const double a = 20 / kDegrees;
    d.Line(Layer::Marks, at(0, g.r), at(g.r * std::sin(a), g.r - g.r * std::cos(a)));
    d.Text(at(g.r * std::sin(a) / 2 + 0.01, g.r / 2), kTextHeight,
           "r = " + views::Decimal(g.r, places) + " m");
    d.Text(at(g.tangentX + 0.02, g.tangentY), kTextHeight,
           "α = " + std::string(dim.angleDeg) + "°");
    if (!dim.slabCm.empty()) {
        d.Text(at(0, -g.delta - 0.5 * kTextHeight), kTextHeight * 0.8,
               "δ = " + std::string(dim.slabCm) + " cm", Align::Centre);
    }
    double y = -g.delta - 2.6 * kTextHeight;
    d.Text(at(0, y), kTextHeight * 1.2, std::string(s.name), Align::Centre);
    if (p.designDepth && *p.designDepth <= g.H) {
        const double h = *p.designDepth;
        const double w = HalfWidthAt(s, h);
        d.Line(Layer::Water, at(-w, h), at(w, h));
        d.Text(at(g.outerTop + 0.02, h), kTextHeight, "h = " + p.designText + " m");
    }
    if (p.checkDepth && *p.checkDepth <= g.H) {
        const double h = *p.checkDepth;
        const double w = HalfWidthAt(s, h);
        d.Line(Layer::Water, at(-w, h), at(w, h), true);
        d.Text(at(g.outerTop + 0.02, h + kTextHeight * 1.2), kTextHeight,
               "h1 = " + p.checkText + " m");
    }
    if (!p.widthText.empty()) {
        d.Text(at(0, y - 1.6 * kTextHeight), kTextHeight, "b = " + p.widthText + " m",
               Align::Centre);
        y -= 1.6 * kTextHeight;
    }
    if (!p.note.empty()) {
        d.Text(at(0, y - 1.6 * kTextHeight), kTextHeight, p.note, Align::Centre);
    }
}

}  // namespace

std::string SectionsDxf(const std::vector<sheet::SvgPanel>& panels, const std::string& title) {
    DxfDrawing d;
    double x = 0;
    double top = 0;
    for (const sheet::SvgPanel& p : panels) {
        if (p.section == nullptr) {
            continue;
        }
        const Geometry g = Of(*p.section);
        x += g.outerTop;  // the panel's left edge at the last right edge
        Panel(d, p, x);
        x += g.outerTop + kPanelGap;
        top = std::max(top, g.H);
    }
    d.Text({0, top + 3 * kTextHeight}, kTextHeight * 1.4, title);
    return d.Write();
}

}  // namespace veltrane::handoff
