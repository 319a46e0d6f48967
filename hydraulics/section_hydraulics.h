// SPDX-License-Identifier: GPL-3.0-or-later
// Uniform flow in a U-section: the flow elements at one depth, and the
// stepped depth search that finds the depth carrying a discharge.
// All lengths in m, areas in m², discharges in m³/s, velocities in m/s.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "hydraulics/section_catalogue.h"

namespace veltrane {

// The two searches use different (mathematically equal) half-angle rules in
// the arc region; only Design computes the surface width and the velocity.
enum class SearchKind { Design, Check };

// The bed of a reach: what, besides the section, sets the uniform flow.
// The two travel together so that they cannot be swapped.
struct ChannelBed {
    double roughness = 0;  // Manning's n, > 0
    double slope = 0;      // x of the bed slope 1/x, > 0
};

struct FlowElements {
    double depth = 0;            // h, m
    double area = 0;             // A, m²
    double wettedPerimeter = 0;  // X, m
    double hydraulicRadius = 0;  // R = A / X, m
    double chezy = 0;            // C, m^½/s
    double surfaceWidth = 0;     // b, m; 0 for SearchKind::Check
    double discharge = 0;        // Q, m³/s
    double velocity = 0;         // V = Q / A, m/s; 0 for SearchKind::Check
};

struct DepthSearchResult {
    double reportedDepth = 0;  // the running depth after the last step, m
    FlowElements elements;     // computed one step below reportedDepth
    // The step before elements, when there was one: with elements it brackets
    // the target, so that a checker can see the search stopped at the right step.
    std::optional<FlowElements> previous;
    bool overflow = false;  // reportedDepth > channelDepth
};

// Depth where the bottom arc meets the straight walls, m.
double TangentDepth(const USection& section);

// Elements at depth h (> 0, m) on the given bed. Depths up to the tangent
// depth use the arc rules, deeper ones the wall rules.
FlowElements ComputeFlowElements(const USection& section, double h, const ChannelBed& bed,
                                 SearchKind kind);

// Steps the depth from 0.001 m by 0.001 m until the discharge first exceeds
// targetDischarge or the depth passes the channel depth.
DepthSearchResult SearchDepth(const USection& section, double targetDischarge,
                              const ChannelBed& bed, SearchKind kind);

// The depths SearchDepth steps through for one section and roughness, with
// everything at them that does not depend on the slope, so that searches at
// many slopes cost one power per depth looked at instead of a whole walk.
// Search gives what SearchDepth gives, to the last bit: the depths come from
// the same repeated addition, and the elements from the same expressions.
class DepthGrid {
  public:
    DepthGrid(const USection& section, double roughness, SearchKind kind);

    // SearchDepth(section, target, {roughness, slope}, kind). hint is the
    // step where the last search at a nearby slope stopped; the walk starts
    // there and hint is moved to where this one stops.
    //
    // Starting anywhere gives the same step as walking up from the bottom,
    // because at one slope the discharge rises strictly from each depth step
    // to the next: A, R and C all grow with the depth, and from one step to
    // the next the discharge grows by more than 10⁻⁴ of itself in every
    // standard section (checked by the tests for all five), while each
    // rounding moves it by about 10⁻¹⁶. So the first step above target is
    // the one whose step below is not above it.
    DepthSearchResult Search(double target, double slope, std::size_t& hint) const;

    // Depths below or at the channel depth.
    std::size_t size() const { return shapes_.size(); }
    // Q at step i on slope 1/x, m³/s.
    double DischargeAt(std::size_t i, double slope) const;

  private:
    std::size_t FirstAbove(double target, double slope, std::size_t hint) const;

    SearchKind kind_;
    std::vector<FlowElements> shapes_;  // Q and V unset
    double beyond_ = 0;                 // the first depth above the channel depth, m
};

}  // namespace veltrane
