// SPDX-License-Identifier: GPL-3.0-or-later
#include "handoff/profile_dxf.h"

#include <algorithm>

#include "handoff/dxf_drawing.h"
#include "views/numbers.h"
#include "views/profile_words.h"

namespace veltrane::handoff {

namespace {

constexpr double kTextHeight = 0.1;  // m

std::vector<Point> Line(const std::vector<canal::Station>& stations,
                        double (*value)(const canal::Station&)) {
    std::vector<Point> points;
    for (const canal::Station& s : stations) {
        points.emplace_back(s.chainage, value(s));
    }
    return points;
}

}  // namespace

std::string ProfileDxf(const canal::CanalRequest& request, const canal::CanalProfile& profile) {
    DxfDrawing d;
    if (profile.flows.empty() || profile.flows[0].stations.empty()) {
        return d.Write();
    }
    const auto& design = profile.flows[0].stations;
    d.Polyline(Layer::Section, Line(design, [](const canal::Station& s) { return s.bed; }));
    d.Polyline(Layer::Section, Line(design, [](const canal::Station& s) { return s.top; }));
    d.Polyline(Layer::Water, Line(design, [](const canal::Station& s) { return s.level; }));
    if (request.factor != 1 && profile.flows.size() > 1) {
        d.Polyline(Layer::Water,
                   Line(profile.flows[1].stations, [](const canal::Station& s) { return s.level; }),
                   true);
    }
    double low = design.front().bed, high = design.front().top;
    for (const auto& flow : profile.flows) {
        for (const canal::Station& s : flow.stations) {
            low = std::min(low, s.bed);
            high = std::max({high, s.top, s.level});
        }
    }
    const double band = low - 4 * kTextHeight;
    // Each reach: a mark at its ends, its name, size and slope beneath.
    for (std::size_t i = 0; i < request.reaches.size(); ++i) {
        const auto first = std::find_if(design.begin(), design.end(),
                                        [i](const canal::Station& s) { return s.reach == i; });
        if (first == design.end()) {
            continue;
        }
        const double from = first->chainage;
        const double to = from + request.reaches[i].length;
        const canal::Reach& r = request.reaches[i];
        d.Line(Layer::Marks, {from, band - 4 * kTextHeight}, {from, high});
        const double mid = (from + to) / 2;
        d.Text({mid, band}, kTextHeight, r.name, Align::Centre);
        d.Text({mid, band - 1.5 * kTextHeight}, kTextHeight,
               r.sizeName + "  1/" + views::Decimal(r.slope, 2), Align::Centre);
        d.Text({from, band - 3 * kTextHeight}, kTextHeight, views::ChainageText(from));
    }
    const double end = design.back().chainage;
    d.Line(Layer::Marks, {end, band - 4 * kTextHeight}, {end, high});
    d.Text({end, band - 3 * kTextHeight}, kTextHeight, views::ChainageText(end), Align::Right);
    // The design water levels at the two ends, just above the water there.
    d.Text(
        {design.front().chainage, std::max(design.front().level, design.front().top) + kTextHeight},
        kTextHeight, views::Decimal(design.front().level, 3));
    d.Text({end, std::max(design.back().level, design.back().top) + kTextHeight}, kTextHeight,
           views::Decimal(design.back().level, 3), Align::Right);
    d.Text({0, high + 3 * kTextHeight}, kTextHeight * 1.5,
           std::string(views::kProfileDrawing.title));
    return d.Write();
}

}  // namespace veltrane::handoff
