// SPDX-License-Identifier: GPL-3.0-or-later
// The water surface along a canal against closed forms and known behaviour,
// and against the test's own integration of dh/dx = (S₀ − S_f)/(1 − Fr²).
#include "canal/water_surface.h"

#include <gtest/gtest.h>

#include "tests/canal/make_reach.h"

#include "canal/open_channel.h"
#include "hydraulics/section_hydraulics.h"
#include "tests/canal/independent_channel.h"

namespace veltrane::canal {
namespace {

using canal::testing::MakeReach;

CanalRequest OneReach(Reach reach, DownstreamEnd end, double spacing = 100) {
    CanalRequest request;
    request.reaches = {std::move(reach)};
    request.end = end;
    request.spacing = spacing;
    return request;
}

std::vector<Station> OfReach(const FlowProfile& flow, std::size_t reach) {
    std::vector<Station> out;
    for (const Station& s : flow.stations) {
        if (s.reach == reach) {
            out.push_back(s);
        }
    }
    return out;
}

// U60 with the window's default inputs: hn ≈ 0.516 m, hc ≈ 0.326 m.
const Reach kU60 = MakeReach("一支渠", SectionSize::U60, 2000, 500, 0.017, 0.25);

TEST(WaterSurface, StationsStandAtBothEndsAndEveryMultipleOfTheSpacing) {
    CanalRequest request;
    request.reaches = {MakeReach("a", SectionSize::U60, 150, 500, 0.017, 0.25),
                       MakeReach("b", SectionSize::U60, 120, 500, 0.017, 0.25)};
    const CanalProfile p = ComputeProfile(request);
    std::vector<std::pair<std::size_t, double>> at;
    for (const Station& s : p.flows[0].stations) {
        at.emplace_back(s.reach, s.chainage);
    }
    const std::vector<std::pair<std::size_t, double>> expected = {{0, 0},   {0, 100}, {0, 150},
                                                                  {1, 150}, {1, 200}, {1, 270}};
    EXPECT_EQ(at, expected);
    // The bed falls 1/500 from 0 at the head and goes on into the next reach.
    EXPECT_DOUBLE_EQ(p.flows[0].stations[2].bed, -0.3);
    EXPECT_DOUBLE_EQ(p.flows[0].stations[3].bed, -0.3);
    EXPECT_DOUBLE_EQ(p.flows[0].stations[5].bed, -0.54);
}

TEST(WaterSurface, UniformFlowAtTheEndStaysUniform) {
    const CanalProfile p = ComputeProfile(OneReach(kU60, {}));
    const double hn = p.flows[0].reaches[0].normalDepth;
    for (const Station& s : p.flows[0].stations) {
        EXPECT_NEAR(s.depth, hn, 1e-4) << s.chainage;
        EXPECT_EQ(s.type, CurveType::N);
        EXPECT_NEAR(s.level, s.bed + s.depth, 1e-12);
        EXPECT_NEAR(s.freeboard, 0.54 - s.depth, 1e-12);
    }
}

// A free overfall: critical depth at the brink, an M2 curve drawing down to
// it, uniform depth again far upstream.
TEST(WaterSurface, AFreeOverfallGivesCriticalDepthAtTheBrink) {
    const CanalProfile p = ComputeProfile(OneReach(kU60, {.kind = EndCondition::Critical}, 50));
    const FlowProfile& q = p.flows[0];
    const double hc = q.reaches[0].criticalDepth, hn = q.reaches[0].normalDepth;
    EXPECT_NEAR(q.stations.back().depth, hc, 1e-9);
    EXPECT_NEAR(q.stations.front().depth, hn, 1e-3);
    for (std::size_t k = 1; k < q.stations.size(); ++k) {
        EXPECT_LE(q.stations[k].depth, q.stations[k - 1].depth + 1e-9) << q.stations[k].chainage;
    }
    EXPECT_EQ(q.stations[q.stations.size() - 2].type, CurveType::M2);
}

// Behind a raised end level: an M1 curve whose depth grows toward the end.
TEST(WaterSurface, TheM1CurveRisesTowardARaisedEnd) {
    const DownstreamEnd end{.kind = EndCondition::Level, .level = -4 + 0.53};
    const CanalProfile p = ComputeProfile(OneReach(kU60, end, 50));
    const FlowProfile& q = p.flows[0];
    EXPECT_NEAR(q.stations.back().depth, 0.53, 1e-12);
    for (std::size_t k = 1; k < q.stations.size(); ++k) {
        EXPECT_GT(q.stations[k].depth, q.stations[k - 1].depth - 1e-9);
    }
    EXPECT_EQ(q.stations[q.stations.size() - 2].type, CurveType::M1);
    EXPECT_NEAR(q.stations.front().depth, q.reaches[0].normalDepth, 1e-3);
}

// The profile against the test's own RK4 integration upstream from the
// same end depth, at every station, to 1 mm: M1 and M2, and kQ.
TEST(WaterSurface, MildReachesAgreeWithAnIndependentIntegration) {
    const test::IndependentU& u = test::kU60;
    for (const double endDepth : {0.53, 0.45, 0.36}) {
        const DownstreamEnd end{.kind = EndCondition::Level, .level = -4 + endDepth};
        CanalRequest request = OneReach(kU60, end, 100);
        request.factor = 1.1;
        const CanalProfile p = ComputeProfile(request);
        for (const FlowProfile& flow : p.flows) {
            const double q = 0.25 * flow.factor;
            double expected = std::max(endDepth, flow.reaches[0].criticalDepth);
            double at = flow.stations.back().chainage;
            for (auto s = flow.stations.rbegin(); s != flow.stations.rend(); ++s) {
                expected = u.Integrate(q, 0.017, 1.0 / 500, expected, s->chainage - at);
                at = s->chainage;
                EXPECT_NEAR(s->depth, expected, 1e-3) << endDepth << " at " << at;
            }
        }
    }
}

// Two steep reaches: the first starts at critical depth (flow from a pool),
// the second takes the first's supercritical flow across the junction; both
// against the test's integration downstream from the first station after
// each reach's head.
TEST(WaterSurface, SteepReachesAgreeWithAnIndependentIntegration) {
    CanalRequest request;
    request.reaches = {MakeReach("陡槽一", SectionSize::U80, 300, 40, 0.014, 0.4),
                       MakeReach("陡槽二", SectionSize::U80, 300, 120, 0.014, 0.4)};
    request.spacing = 25;
    const CanalProfile p = ComputeProfile(request);
    const FlowProfile& flow = p.flows[0];
    ASSERT_TRUE(flow.reaches[0].steep);
    ASSERT_TRUE(flow.reaches[1].steep);
    EXPECT_NEAR(flow.stations.front().depth, flow.reaches[0].criticalDepth, 1e-9);
    const double falls[] = {1.0 / 40, 1.0 / 120};
    for (std::size_t reach = 0; reach < 2; ++reach) {
        const std::vector<Station> s = OfReach(flow, reach);
        for (std::size_t k = 2; k < s.size(); ++k) {
            const double expected = test::kU80.Integrate(0.4, 0.014, falls[reach], s[1].depth,
                                                         s[k].chainage - s[1].chainage);
            EXPECT_NEAR(s[k].depth, expected, 1e-3) << s[k].chainage;
            EXPECT_LT(s[k].depth, flow.reaches[reach].criticalDepth);
        }
    }
    // The steeper reach's flow is shallower than the flatter one's uniform
    // depth: an S3 curve rising toward it.
    EXPECT_EQ(OfReach(flow, 1)[1].type, CurveType::S3);
}

// With no loss and no drop, the energy level is the same on both sides of
// a junction between two sections.
TEST(WaterSurface, EnergyIsConservedAcrossAJunctionWithoutLoss) {
    CanalRequest request;
    request.reaches = {MakeReach("上段", SectionSize::U80, 500, 1000, 0.015, 0.3),
                       MakeReach("下段", SectionSize::U60, 500, 500, 0.015, 0.3)};
    const CanalProfile p = ComputeProfile(request);
    for (const FlowProfile& flow : p.flows) {
        const Station up = OfReach(flow, 0).back();
        const Station down = OfReach(flow, 1).front();
        EXPECT_DOUBLE_EQ(up.chainage, down.chainage);
        EXPECT_DOUBLE_EQ(up.bed, down.bed);
        EXPECT_NEAR(up.energy, down.energy, 1e-9);
        EXPECT_GT(up.depth, down.depth);  // the wider section runs deeper and slower
    }
    // A loss coefficient takes ξ|V₂² − V₁²|/2g from the upstream energy level.
    request.reaches[1].loss = 0.5;
    const FlowProfile flow = ComputeProfile(request).flows[0];
    const Station up = OfReach(flow, 0).back();
    const Station down = OfReach(flow, 1).front();
    const double loss =
        0.5 * std::fabs(down.velocity * down.velocity - up.velocity * up.velocity) / (2 * 9.81);
    EXPECT_NEAR(up.energy, down.energy + loss, 1e-9);
}

// A drop whose tail water lies below the critical-depth level: the reach
// above ends at critical depth.
TEST(WaterSurface, AFreeDropEndsTheReachAboveAtCriticalDepth) {
    CanalRequest request;
    request.reaches = {MakeReach("跌水上", SectionSize::U60, 400, 500, 0.017, 0.25),
                       MakeReach("跌水下", SectionSize::U60, 400, 500, 0.017, 0.25)};
    request.reaches[1].bed = -0.8 - 1.0;  // 1 m below the upper reach's end
    const FlowProfile flow = ComputeProfile(request).flows[0];
    const Station brink = OfReach(flow, 0).back();
    EXPECT_NEAR(brink.depth, flow.reaches[0].criticalDepth, 1e-9);
    EXPECT_DOUBLE_EQ(OfReach(flow, 1).front().bed, -1.8);
}

// A steep chute into a long mild reach: a jump where the specific forces of
// the two regimes are equal, worked with the test's own geometry.
TEST(WaterSurface, AJumpStandsWhereTheSpecificForcesAreEqual) {
    CanalRequest request;
    request.reaches = {MakeReach("陡坡段", SectionSize::U60, 60, 25, 0.014, 0.25),
                       MakeReach("缓坡段", SectionSize::U60, 1500, 800, 0.017, 0.25)};
    request.spacing = 10;
    const FlowProfile flow = ComputeProfile(request).flows[0];
    ASSERT_EQ(flow.jumps.size(), 1u);
    const Jump& jump = flow.jumps[0];
    EXPECT_LT(jump.upstreamDepth, flow.reaches[jump.reach].criticalDepth);
    EXPECT_GT(jump.downstreamDepth, flow.reaches[jump.reach].criticalDepth);
    const test::IndependentU& u = test::kU60;
    EXPECT_NEAR(u.SpecificForce(0.25, jump.upstreamDepth),
                u.SpecificForce(0.25, jump.downstreamDepth), 1e-6);
    // Both sides are stations at the jump, the supercritical one first.
    const auto at = std::find_if(flow.stations.begin(), flow.stations.end(),
                                 [&](const Station& s) { return s.chainage == jump.chainage; });
    ASSERT_NE(at, flow.stations.end());
    EXPECT_DOUBLE_EQ(at->depth, jump.upstreamDepth);
    EXPECT_DOUBLE_EQ((at + 1)->chainage, jump.chainage);
    EXPECT_DOUBLE_EQ((at + 1)->depth, jump.downstreamDepth);
    // Upstream of it the flow is supercritical (critical at the chute's
    // head), downstream subcritical.
    for (auto s = flow.stations.begin(); s != flow.stations.end(); ++s) {
        if (s <= at) {
            EXPECT_GE(s->froude, 1 - 1e-9) << s->chainage;
        } else {
            EXPECT_LT(s->froude, 1) << s->chainage;
        }
    }
}

TEST(WaterSurface, ChecksNameWhereTheWaterOvertopsAndTheTurnouts) {
    CanalRequest request = OneReach(kU60, {.kind = EndCondition::Level, .level = -4 + 0.6}, 100);
    request.factor = 1.2;
    request.minFreeboard = 0.1;
    request.reaches[0].level = 0.5;  // the head must reach 0.5 m
    const CanalProfile p = ComputeProfile(request);
    ASSERT_FALSE(p.checks.overtopped.empty());
    const Stretch& over = p.checks.overtopped.front();
    EXPECT_EQ(over.flow, FlowKind::Design);
    EXPECT_DOUBLE_EQ(over.to, 2000);
    EXPECT_NEAR(over.worst, -0.06, 1e-12);
    for (const Station& s : p.flows[0].stations) {
        EXPECT_EQ(s.chainage >= over.from, s.freeboard < 0) << s.chainage;
    }
    ASSERT_FALSE(p.checks.shortFreeboard.empty());
    EXPECT_EQ(p.checks.shortFreeboard.front().flow, FlowKind::Check);
    ASSERT_EQ(p.checks.turnouts.size(), 1u);
    EXPECT_TRUE(p.checks.turnouts[0].met);  // hn ≈ 0.516 at the head
    EXPECT_NEAR(p.checks.turnouts[0].level, p.flows[0].stations.front().level, 0);
    EXPECT_FALSE(p.checks.ok());
}

// Each reach's stepped depth is the window's own search's, to the bit, for
// both flows, however many reaches share a size and roughness, including a
// depth that passes the channel's top.
TEST(WaterSurface, SteppedDepthsAreTheWindowsSearch) {
    CanalRequest request;
    const SectionSize sizes[] = {SectionSize::U60, SectionSize::U80, SectionSize::U100,
                                 SectionSize::U120, SectionSize::U140};
    for (int i = 0; i < 60; ++i) {
        const SectionSize size = sizes[i % 5];
        const double roughness = i % 3 == 0 ? 0.014 : 0.017;
        const double slope = 200 + 137.0 * (i % 11);
        const double discharge = 0.05 + 0.037 * (i % 17);  // some pass H in the smaller sizes
        request.reaches.push_back(
            MakeReach("r" + std::to_string(i), size, 50, slope, roughness, discharge));
    }
    request.factor = 1.15;
    const CanalProfile profile = ComputeProfile(request);
    int above = 0;
    for (const FlowProfile& flow : profile.flows) {
        for (std::size_t i = 0; i < request.reaches.size(); ++i) {
            const Reach& r = request.reaches[i];
            const DepthSearchResult window =
                SearchDepth(LookupSection(*ParseSectionName(r.sizeName)), r.discharge * flow.factor,
                            {.roughness = r.roughness, .slope = r.slope}, SearchKind::Design);
            const ReachFlow& got = flow.reaches[i];
            EXPECT_EQ(got.steppedAboveTop, window.overflow) << i;
            if (window.overflow) {
                ++above;
                EXPECT_FALSE(got.steppedDepth) << i;
            } else {
                ASSERT_TRUE(got.steppedDepth) << i;
                EXPECT_EQ(*got.steppedDepth, window.reportedDepth) << i;  // to the bit
            }
        }
    }
    EXPECT_GT(above, 0);
}

}  // namespace
}  // namespace veltrane::canal
