// SPDX-License-Identifier: GPL-3.0-or-later
#include "canal/water_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

#include "canal/open_channel.h"
#include "hydraulics/section_hydraulics.h"

namespace veltrane::canal {

namespace {

constexpr double kTolerance = 5e-5;     // m: a step is fine enough when halving moves h less
constexpr double kLongestStep = 20;     // m: the first try's longest step
constexpr double kShortestStep = 0.01;  // m: steps are not halved below this
constexpr double kShallow = 1e-7;       // m: the shallowest depth a supercritical search tries
constexpr double kSameDepth = 1e-3;     // m: within this of hn is uniform, of hc critical

// One reach at one flow, with where its stations stand.
struct Terms {
    double energy, dEnergy, friction, dFriction;
};

struct ReachRun {
    const Reach* reach = nullptr;
    ReachFlow flow;
    Terms critical{};             // the step terms at critical depth
    double fall = 0;              // 1/x
    std::vector<double> offsets;  // from the reach's upstream end, m, ascending, 0 … length
};

FlowAt At(const ReachRun& r, double h) {
    return FlowAtDepth(r.reach->shape, r.flow.discharge, r.reach->roughness, h);
}

// Plain bisection for the junctions, where the loss term |V₂² − V₁²| can
// make the energy balance turn: f(low) and f(high) differ in sign.
double Bisect(const std::function<double(double)>& f, double low, double high) {
    const bool lowNegative = f(low) < 0;
    for (int i = 0; i < 200 && high - low > 1e-11; ++i) {
        const double mid = (low + high) / 2;
        if ((f(mid) < 0) == lowNegative) {
            low = mid;
        } else {
            high = mid;
        }
    }
    return (low + high) / 2;
}

enum class Branch {
    Subcritical,    // computed upstream
    Supercritical,  // computed downstream
};

// ∛x for x > 0, to within a few units in the last place: a first guess from
// the exponent's bits, then three of Halley's steps. The C library's cbrt
// took half the time of a whole profile.
double CubeRoot(double x) {
    // memcpy rather than std::bit_cast, which emscripten's libc++ lacks.
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    bits = bits / 3 + 0x2A9F7893782DA1CEull;
    double y = 0;
    std::memcpy(&y, &bits, sizeof y);
    for (int i = 0; i < 3; ++i) {
        const double y3 = y * y * y;
        y = y * (y3 + 2 * x) / (2 * y3 + x);
    }
    return y;
}

// What one step's energy balance needs at a depth: the specific energy and
// the friction slope with their rates of change.
Terms TermsAt(const ReachRun& r, double h) {
    const ShapeAt s = ShapeAtDepth(r.reach->shape, h);
    const double q = r.flow.discharge, n = r.reach->roughness;
    const double v = q / s.area;
    const double fr2 = v * v * s.width / (kGravity * s.area);
    const double radius = s.area / s.perimeter;
    const double friction = n * n * v * v / (radius * CubeRoot(radius));
    return {.energy = h + v * v / (2 * kGravity),
            .dEnergy = 1 - fr2,
            .friction = friction,
            .dFriction = friction *
                         (4.0 / 3.0 * s.dPerimeter / s.perimeter - 10.0 / 3.0 * s.width / s.area)};
}

// One standard step of length d: the depth at the section d upstream
// (subcritical) or downstream (supercritical) of one at depth h, or none
// where the energy equation has no root on that branch.
//
// Upstream, g(x) = E(x) − d S_f(x)/2 − (E(h) + d S_f(h)/2 − d S₀) rises
// with x above critical depth; downstream, g(x) = E(x) + d S_f(x)/2 −
// (E(h) − d S_f(h)/2 + d S₀) falls with x below it. Either has a root on its
// branch exactly when g(hc) < 0. Newton's steps from h, which is close for a
// short step, kept inside the bracket by bisection.
std::optional<double> OneStep(const ReachRun& r, double h, double d, Branch branch) {
    const Terms known = TermsAt(r, h);
    const double sign = branch == Branch::Subcritical ? -1 : 1;
    const double rhs = known.energy - sign * d / 2 * known.friction + sign * d * r.fall;
    const auto g = [&](double x, double* slope) {
        const Terms t = TermsAt(r, x);
        *slope = t.dEnergy + sign * d / 2 * t.dFriction;
        return t.energy + sign * d / 2 * t.friction - rhs;
    };
    const double hc = r.flow.criticalDepth;
    if (r.critical.energy + sign * d / 2 * r.critical.friction - rhs >= 0) {
        return std::nullopt;
    }
    // The bracket [low, high] holds the root: above critical depth upstream
    // (with no upper bound until a depth overshoots), below it downstream.
    double low = hc, high = std::numeric_limits<double>::infinity();
    if (branch == Branch::Supercritical) {
        low = kShallow;
        high = hc;
    }
    double x = std::clamp(h, low, high);
    double slope = 0, valueLow = 0, valueHigh = 0;
    for (int i = 0; i < 200; ++i) {
        const double value = g(x, &slope);
        if (value == 0) {
            return x;  // uniform flow: the known depth itself
        }
        const bool below = branch == Branch::Subcritical ? value < 0 : value > 0;
        (below ? low : high) = x;
        (below ? valueLow : valueHigh) = value;
        double next = x - value / slope;
        if (!(next > low && next < high)) {
            // Outside the bracket: where both ends are known, the secant
            // through them (Newton overshoots a curved g that way, and
            // halving would creep to a root beside one end); else outward.
            next = !std::isfinite(high)    ? 2 * x
                   : valueLow == valueHigh ? (low + high) / 2
                                           : low - valueLow * (high - low) / (valueHigh - valueLow);
            if (!(next > low && next < high)) {
                next = (low + high) / 2;
            }
        }
        if (std::fabs(next - x) < 1e-11 || high - low < 1e-11) {
            return next;
        }
        x = next;
    }
    return x;
}

// The depth a distance d (m, > 0) on along the branch, in steps halved until
// halving them changes it by less than kTolerance.
std::optional<double> Step(const ReachRun& r, double h, double d, Branch branch) {
    if (d <= 0) {
        return h;
    }
    const auto walk = [&](int n) -> std::optional<double> {
        double x = h;
        for (int i = 0; i < n; ++i) {
            const auto next = OneStep(r, x, d / n, branch);
            if (!next) {
                return std::nullopt;
            }
            x = *next;
        }
        return x;
    };
    // Reaches are at most kLongestReach long, so n stays far inside an int.
    int n = std::max(1, static_cast<int>(std::ceil(d / kLongestStep)));
    const int most = n * 64;  // steps of at least 0.3 m in the longest first try
    std::optional<double> coarse = walk(n);
    for (;;) {
        const std::optional<double> fine = walk(2 * n);
        if (coarse && fine && std::fabs(*fine - *coarse) < kTolerance) {
            return fine;
        }
        if (!coarse && !fine) {
            return std::nullopt;  // the branch has no depth there, however fine the steps
        }
        if (d / (2 * n) < kShortestStep || 2 * n >= most) {
            return fine;
        }
        coarse = fine;
        n *= 2;
    }
}

// The depth at the lower end of the upper reach u, from the depth hd at the
// head of the lower reach l: the largest subcritical root of
// z_u + E_u = z_l + E_l + ξ |V_l² − V_u²| / 2g, or none.
std::optional<double> JunctionUpstream(const ReachRun& u, const ReachRun& l, double hd) {
    const FlowAt below = At(l, hd);
    const double xi = l.reach->loss.value_or(0);
    const double target = l.flow.headBed + below.energy;
    const auto g = [&](double x) {
        const FlowAt f = At(u, x);
        const double lossHead =
            xi * std::fabs(below.velocity * below.velocity - f.velocity * f.velocity) /
            (2 * kGravity);
        return u.flow.endBed + f.energy - lossHead - target;
    };
    const double hc = u.flow.criticalDepth;
    double high = std::max({hd, hc}) * 2 + std::max(0.0, target - u.flow.endBed);
    for (int i = 0; i < 60 && g(high) <= 0; ++i) {
        high *= 2;
    }
    // From the top down, the first sample at or below zero brackets the
    // largest root.
    constexpr int kSamples = 200;
    double above = high;
    for (int i = 1; i <= kSamples; ++i) {
        const double x = high - (high - hc) * i / kSamples;
        if (g(x) <= 0) {
            return Bisect(g, x, above);
        }
        above = x;
    }
    return std::nullopt;
}

// The depth at the head of the lower reach l from a supercritical depth hu
// at the end of the upper reach u: the smallest supercritical root, or none.
std::optional<double> JunctionDownstream(const ReachRun& u, const ReachRun& l, double hu) {
    const FlowAt above = At(u, hu);
    const double xi = l.reach->loss.value_or(0);
    const double source = u.flow.endBed + above.energy;
    const auto g = [&](double x) {
        const FlowAt f = At(l, x);
        const double lossHead =
            xi * std::fabs(f.velocity * f.velocity - above.velocity * above.velocity) /
            (2 * kGravity);
        return l.flow.headBed + f.energy + lossHead - source;
    };
    const double hc = l.flow.criticalDepth;
    constexpr int kSamples = 200;
    double below = kShallow;
    for (int i = 1; i <= kSamples; ++i) {
        const double x = kShallow + (hc - kShallow) * i / kSamples;
        if (g(x) <= 0) {
            return Bisect(g, below, x);
        }
        below = x;
    }
    return std::nullopt;
}

CurveType TypeOf(const ReachFlow& f, double h) {
    const double hn = f.normalDepth, hc = f.criticalDepth;
    if (std::fabs(h - hn) <= kSameDepth) {
        return CurveType::N;
    }
    if (std::fabs(hn - hc) <= kSameDepth) {
        return CurveType::C;
    }
    const bool steep = hn < hc;
    const double upper = std::max(hn, hc), lower = std::min(hn, hc);
    const int zone = h > upper ? 1 : h >= lower ? 2 : 3;
    static constexpr CurveType kMild[] = {CurveType::M1, CurveType::M2, CurveType::M3};
    static constexpr CurveType kSteep[] = {CurveType::S1, CurveType::S2, CurveType::S3};
    return (steep ? kSteep : kMild)[zone - 1];
}

// The window's stepped searches (the report's depth, beside the exact one),
// one depth grid per size and roughness: a canal's reaches share few, and a
// search started at the exact uniform depth looks at a few steps where a
// walk from the bottom looks at up to a thousand. The grid gives the walk's
// depth to the last bit wherever it starts (see DepthGrid).
class SteppedSearches {
  public:
    DepthSearchResult Search(const USection& section, double roughness, double discharge,
                             double slope, double exactDepth) {
        const auto key = std::make_pair(&section, roughness);
        auto at = grids_.find(key);
        if (at == grids_.end()) {
            at = grids_
                     .emplace(std::piecewise_construct, std::forward_as_tuple(key),
                              std::forward_as_tuple(section, roughness, SearchKind::Design))
                     .first;
        }
        std::size_t hint = 0;
        if (std::isfinite(exactDepth) && exactDepth > 0) {
            hint = static_cast<std::size_t>(std::min(exactDepth, 1e3) / 0.001);
        }
        return at->second.Search(discharge, slope, hint);
    }

  private:
    // Keyed by the row itself: the request holds every row while it runs.
    std::map<std::pair<const USection*, double>, DepthGrid> grids_;
};

std::vector<ReachRun> RunsFor(const CanalRequest& request, double factor,
                              SteppedSearches& stepped) {
    const std::vector<BedLevels> beds = BedLevelsOf(request);
    std::vector<ReachRun> runs;
    double start = 0;
    for (std::size_t i = 0; i < request.reaches.size(); ++i) {
        const Reach& reach = request.reaches[i];
        ReachRun r;
        r.reach = &reach;
        r.fall = 1 / reach.slope;
        r.flow.discharge = reach.discharge * factor;
        r.flow.normalDepth = NormalDepth(reach.shape, r.flow.discharge, reach.roughness, r.fall);
        r.flow.criticalDepth = CriticalDepth(reach.shape, r.flow.discharge);
        r.flow.steep = r.flow.normalDepth < r.flow.criticalDepth;
        if (reach.section) {
            const DepthSearchResult found = stepped.Search(
                *reach.section, reach.roughness, r.flow.discharge, reach.slope, r.flow.normalDepth);
            r.flow.steppedAboveTop = found.overflow;
            if (!found.overflow) {
                r.flow.steppedDepth = found.reportedDepth;
            }
        }
        r.critical = TermsAt(r, r.flow.criticalDepth);
        r.flow.start = start;
        r.flow.headBed = beds[i].head;
        r.flow.endBed = beds[i].end;
        // Both ends, and every multiple of the spacing between them.
        r.offsets.push_back(0);
        const double spacing = request.spacing;
        for (double m = std::floor(start / spacing) + 1;; ++m) {
            const double offset = m * spacing - start;
            if (offset >= reach.length - 1e-9) {
                break;
            }
            if (offset > 1e-9) {
                r.offsets.push_back(offset);
            }
        }
        r.offsets.push_back(reach.length);
        start += reach.length;
        runs.push_back(std::move(r));
    }
    return runs;
}

// A station's depth on either branch; none where that branch has none.
struct Candidates {
    std::vector<std::optional<double>> subcritical, supercritical;
};

FlowProfile ProfileAt(const CanalRequest& request, FlowKind kind, double factor,
                      SteppedSearches& stepped) {
    const std::vector<ReachRun> runs = RunsFor(request, factor, stepped);
    const std::size_t count = runs.size();
    std::vector<Candidates> depth(count);
    for (std::size_t i = 0; i < count; ++i) {
        depth[i].subcritical.resize(runs[i].offsets.size());
        depth[i].supercritical.resize(runs[i].offsets.size());
    }

    // Subcritical, from the downstream end up. A station without a
    // subcritical depth stands at critical depth for the stations above it.
    const ReachRun& last = runs.back();
    double control = last.flow.criticalDepth;
    switch (request.end.kind) {
        case EndCondition::Normal:
            control = std::max(last.flow.normalDepth, last.flow.criticalDepth);
            break;
        case EndCondition::Critical:
            break;
        case EndCondition::Level:
            control = std::max(request.end.level - last.flow.endBed, last.flow.criticalDepth);
            break;
    }
    const bool endSubcritical = !(request.end.kind == EndCondition::Normal && last.flow.steep) &&
                                !(request.end.kind == EndCondition::Critical);
    for (std::size_t i = count; i-- > 0;) {
        const ReachRun& r = runs[i];
        auto& sub = depth[i].subcritical;
        const std::size_t n = r.offsets.size();
        if (i + 1 == count) {
            sub[n - 1] = endSubcritical ? std::optional<double>(control) : std::nullopt;
        } else {
            const ReachRun& below = runs[i + 1];
            const double hd = depth[i + 1].subcritical[0].value_or(below.flow.criticalDepth);
            sub[n - 1] = JunctionUpstream(r, below, hd);
        }
        double h = sub[n - 1].value_or(r.flow.criticalDepth);
        for (std::size_t k = n - 1; k-- > 0;) {
            sub[k] = Step(r, h, r.offsets[k + 1] - r.offsets[k], Branch::Subcritical);
            h = sub[k].value_or(r.flow.criticalDepth);
        }
    }

    // Supercritical, from the head down.
    for (std::size_t i = 0; i < count; ++i) {
        const ReachRun& r = runs[i];
        auto& sup = depth[i].supercritical;
        std::optional<double> head;
        if (i > 0 && depth[i - 1].supercritical.back()) {
            head = JunctionDownstream(runs[i - 1], r, *depth[i - 1].supercritical.back());
        }
        if (!head && r.flow.steep) {
            head = r.flow.criticalDepth;  // from a pool, or past a break from mild
        }
        sup[0] = head;
        for (std::size_t k = 1; k < sup.size() && sup[k - 1]; ++k) {
            sup[k] = Step(r, *sup[k - 1], r.offsets[k] - r.offsets[k - 1], Branch::Supercritical);
        }
    }

    FlowProfile profile;
    profile.kind = kind;
    profile.factor = factor;
    for (const ReachRun& r : runs) {
        profile.reaches.push_back(r.flow);
    }
    const auto addStation = [&](std::size_t i, double offset, double h) {
        const ReachRun& r = runs[i];
        const FlowAt f = At(r, h);
        Station s;
        s.reach = i;
        s.chainage = r.flow.start + offset;
        s.bed = r.flow.headBed - offset * r.fall;
        s.depth = h;
        s.level = s.bed + h;
        s.velocity = f.velocity;
        s.froude = f.froude;
        s.energy = s.level + f.velocity * f.velocity / (2 * kGravity);
        s.top = s.bed + r.reach->shape.channelDepth;
        s.freeboard = s.top - s.level;
        s.type = TypeOf(r.flow, h);
        profile.stations.push_back(s);
    };
    bool previousSupercritical = false;
    for (std::size_t i = 0; i < count; ++i) {
        const ReachRun& r = runs[i];
        const Candidates& c = depth[i];
        const std::size_t n = r.offsets.size();
        // Where both branches have a depth, the larger specific force holds.
        const auto supercritical = [&](std::size_t k) {
            if (!c.supercritical[k]) {
                return false;
            }
            if (!c.subcritical[k]) {
                return true;
            }
            return At(r, *c.supercritical[k]).force >= At(r, *c.subcritical[k]).force;
        };
        for (std::size_t k = 0; k < n; ++k) {
            const bool sup = supercritical(k);
            if (k == 0 && i > 0 && previousSupercritical && !sup) {
                const Station& end = profile.stations.back();
                profile.jumps.push_back({.reach = i,
                                         .chainage = r.flow.start,
                                         .upstreamDepth = end.depth,
                                         .downstreamDepth = *c.subcritical[0]});
            }
            if (k > 0 && previousSupercritical && !sup) {
                // The jump between the two stations: where the supercritical
                // depth carried down and the subcritical one carried up
                // have equal specific force.
                const double a = r.offsets[k - 1], d = r.offsets[k] - a;
                const double hSup = *c.supercritical[k - 1];
                const double hSub = c.subcritical[k].value_or(r.flow.criticalDepth);
                const auto excess = [&](double x) {
                    const auto up = Step(r, hSup, x, Branch::Supercritical);
                    const auto down = Step(r, hSub, d - x, Branch::Subcritical);
                    if (!up) {
                        return -1.0;
                    }
                    if (!down) {
                        return 1.0;
                    }
                    return At(r, *up).force - At(r, *down).force;
                };
                double low = 0, high = d;
                for (int it = 0; it < 40; ++it) {
                    const double mid = (low + high) / 2;
                    (excess(mid) >= 0 ? low : high) = mid;
                }
                const double x = (low + high) / 2;
                const double up = Step(r, hSup, x, Branch::Supercritical).value_or(hSup);
                const double down =
                    Step(r, hSub, d - x, Branch::Subcritical).value_or(r.flow.criticalDepth);
                profile.jumps.push_back({.reach = i,
                                         .chainage = r.flow.start + a + x,
                                         .upstreamDepth = up,
                                         .downstreamDepth = down});
                if (x > 1e-9 && x < d - 1e-9) {
                    addStation(i, a + x, up);
                    addStation(i, a + x, down);
                }
            }
            const double h =
                sup ? *c.supercritical[k] : c.subcritical[k].value_or(r.flow.criticalDepth);
            addStation(i, r.offsets[k], h);
            previousSupercritical = sup;
        }
    }
    return profile;
}

// Runs of consecutive stations of one reach where failing holds.
void AddStretches(const FlowProfile& profile, const std::function<bool(const Station&)>& failing,
                  std::vector<Stretch>& out) {
    std::optional<Stretch> open;
    for (const Station& s : profile.stations) {
        if (open && (!failing(s) || s.reach != open->reach)) {
            out.push_back(*open);
            open.reset();
        }
        if (failing(s)) {
            if (!open) {
                open = Stretch{.flow = profile.kind,
                               .reach = s.reach,
                               .from = s.chainage,
                               .to = s.chainage,
                               .worst = s.freeboard};
            }
            open->to = s.chainage;
            open->worst = std::min(open->worst, s.freeboard);
        }
    }
    if (open) {
        out.push_back(*open);
    }
}

}  // namespace

bool ProfileChecks::ok() const {
    return overtopped.empty() && shortFreeboard.empty() &&
           std::all_of(turnouts.begin(), turnouts.end(),
                       [](const TurnoutCheck& t) { return t.met; });
}

std::vector<BedLevels> BedLevelsOf(const CanalRequest& request) {
    std::vector<BedLevels> beds;
    double bed = 0;
    for (const Reach& reach : request.reaches) {
        const double head = reach.bed.value_or(bed);
        bed = head - reach.length / reach.slope;
        beds.push_back({.head = head, .end = bed});
    }
    return beds;
}

CanalProfile ComputeProfile(const CanalRequest& request) {
    CanalProfile result;
    if (request.reaches.empty()) {
        return result;
    }
    SteppedSearches stepped;
    result.flows.push_back(ProfileAt(request, FlowKind::Design, 1, stepped));
    result.flows.push_back(ProfileAt(request, FlowKind::Check, request.factor, stepped));
    for (const FlowProfile& flow : result.flows) {
        // 1 µm of rounding is not an overtopping.
        AddStretches(
            flow, [](const Station& s) { return s.freeboard < -1e-6; }, result.checks.overtopped);
    }
    if (request.minFreeboard) {
        const double least = *request.minFreeboard;
        AddStretches(
            result.flows[1], [least](const Station& s) { return s.freeboard < least - 1e-9; },
            result.checks.shortFreeboard);
    }
    const FlowProfile& design = result.flows[0];
    for (std::size_t i = 0; i < request.reaches.size(); ++i) {
        if (const auto required = request.reaches[i].level) {
            // The reach's own head station: after the junction's upstream side.
            const auto head = std::find_if(design.stations.begin(), design.stations.end(),
                                           [i](const Station& s) { return s.reach == i; });
            result.checks.turnouts.push_back({.reach = i,
                                              .required = *required,
                                              .level = head->level,
                                              .met = head->level >= *required - 1e-9});
        }
    }
    return result;
}

}  // namespace veltrane::canal
