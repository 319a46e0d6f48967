// SPDX-License-Identifier: GPL-3.0-or-later
// A canal as a chain of U-channel reaches, upstream first, and the water
// surface along it for the design discharge Q and the increased kQ.
// Lengths and levels in m, discharges in m³/s, velocities in m/s.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "canal/section_shape.h"
#include "hydraulics/user_sections.h"

namespace veltrane::canal {

// The range a profile is computed in; the reader refuses values outside it.
inline constexpr double kLongestReach = 1e6;      // m
inline constexpr double kFlattestSlope = 1e7;     // x of 1/x
inline constexpr double kSteepestSlope = 1;       // x of 1/x: 45°
inline constexpr double kLargestDischarge = 1e4;  // m³/s
inline constexpr double kLargestRoughness = 1;    // Manning's n
inline constexpr double kHighestLevel = 1e5;      // |m|, beds and water levels
inline constexpr double kLargestLoss = 100;       // ξ

struct Reach {
    std::string name;      // as the user gave it
    std::string sizeName;  // "U60" …, or the user's name, as shown
    SectionShape shape;
    // The row the shape is of, for the window's stepped depth; none for a
    // shape given by its numbers alone.
    SectionRef section;
    double length = 0;     // m, > 0
    double slope = 0;      // x of the bed slope 1/x, > 0
    double roughness = 0;  // Manning's n, > 0
    double discharge = 0;  // design Q of the reach, m³/s, > 0; an offtake above makes it smaller
    // The bed level at the upstream end, m; where not given, the bed goes on
    // from the reach above (0 at the canal's head). Lower than the bed above:
    // a drop. Never higher.
    std::optional<double> bed;
    // ξ of the transition into this reach from the one above: a head loss of
    // ξ |V₂² − V₁²| / 2g; none where not given.
    std::optional<double> loss;
    // The water level the reach's upstream end must reach at Q (a turnout), m.
    std::optional<double> level;
};

enum class EndCondition {
    Normal,    // uniform flow in the last reach
    Critical,  // a free overfall
    Level,     // a given water level; below the critical-depth level, critical depth
};

struct DownstreamEnd {
    EndCondition kind = EndCondition::Normal;
    double level = 0;  // m, for Level
};

struct CanalRequest {
    std::vector<Reach> reaches;  // upstream first
    double factor = 1;           // k of kQ, 1 to 2, for every reach
    DownstreamEnd end;
    double spacing = 100;                // m between stations, counted from the head
    std::optional<double> minFreeboard;  // m, checked at kQ; none unless given
};

// Where a station's depth lies against the reach's uniform depth hn and
// critical depth hc: M on a mild reach (hn > hc), S on a steep one, C where
// the two are within 1 mm; 1 above both, 2 between, 3 below both. N: within
// 1 mm of the uniform depth. (A bed of 1/x always falls: no H or A curves.)
enum class CurveType { M1, M2, M3, S1, S2, S3, C, N };

enum class FlowKind { Design, Check };

struct Station {
    std::size_t reach = 0;  // index into the request's reaches
    double chainage = 0;    // from the canal's head, m
    double bed = 0;         // m
    double depth = 0;       // m
    double level = 0;       // water level, bed + depth, m
    double velocity = 0;    // m/s
    double froude = 0;
    double energy = 0;     // level + V² / 2g, m
    double top = 0;        // top of the channel, bed + H, m
    double freeboard = 0;  // top − level, m; negative where the water overtops
    CurveType type = CurveType::N;
};

// One reach at one flow.
struct ReachFlow {
    double discharge = 0;      // m³/s
    double normalDepth = 0;    // exact uniform depth, m
    double criticalDepth = 0;  // m
    // The depth the calculation window reports for the same Q, n and slope:
    // its 1 mm stepped search (for the standard sizes), m; none where that
    // search passes the channel depth (steppedAboveTop), as the window then
    // reports no depth but its message.
    std::optional<double> steppedDepth;
    bool steppedAboveTop = false;
    bool steep = false;  // normalDepth < criticalDepth
    double start = 0;    // chainage of the upstream end, m
    double headBed = 0;  // bed levels at the two ends, m
    double endBed = 0;
};

// A hydraulic jump: supercritical flow meeting subcritical flow where their
// specific forces are equal.
struct Jump {
    std::size_t reach = 0;
    double chainage = 0;
    double upstreamDepth = 0;    // supercritical, m
    double downstreamDepth = 0;  // subcritical, m
};

struct FlowProfile {
    FlowKind kind = FlowKind::Design;
    double factor = 1;  // 1, or k
    std::vector<ReachFlow> reaches;
    // Upstream first; where two share a chainage (a junction, a jump) the
    // upstream one comes first.
    std::vector<Station> stations;
    std::vector<Jump> jumps;
};

// A run of consecutive stations in one reach where a check fails.
struct Stretch {
    FlowKind flow = FlowKind::Design;
    std::size_t reach = 0;
    double from = 0, to = 0;  // chainages, m
    double worst = 0;         // the lowest freeboard in it, m
};

struct TurnoutCheck {
    std::size_t reach = 0;
    double required = 0;  // m
    double level = 0;     // the water level at the reach's upstream end at Q, m
    bool met = false;
};

struct ProfileChecks {
    std::vector<Stretch> overtopped;      // the water above the channel's top
    std::vector<Stretch> shortFreeboard;  // at kQ, below the smallest freeboard given
    std::vector<TurnoutCheck> turnouts;
    bool ok() const;
};

struct CanalProfile {
    std::vector<FlowProfile> flows;  // Q, then kQ
    ProfileChecks checks;
};

}  // namespace veltrane::canal
