// SPDX-License-Identifier: GPL-3.0-or-later
// Uniform and critical depths by their defining equations, worked with the
// test's own channel, and against the window's stepped depth.
#include "canal/open_channel.h"

#include <gtest/gtest.h>

#include "hydraulics/section_hydraulics.h"
#include "tests/canal/independent_channel.h"

namespace veltrane::canal {
namespace {

struct Case {
    SectionSize size;
    test::IndependentU u;
    double q, x, n;
};

const Case kCases[] = {
    {SectionSize::U60, test::kU60, 0.25, 500, 0.017},
    {SectionSize::U60, test::kU60, 0.02, 2000, 0.014},  // in the arc
    {SectionSize::U80, test::kU80, 0.4, 800, 0.015},
    {SectionSize::U140, test::kU140, 1.2, 3000, 0.014},
    {SectionSize::U140, test::kU140, 3.0, 100, 0.012},  // steep: below critical
};

// Manning's discharge at hn is Q; Q²B = gA³ at hc; both by the test's formulas.
TEST(OpenChannel, UniformAndCriticalDepthsMeetTheirEquations) {
    for (const Case& c : kCases) {
        const SectionShape shape = SectionShape::Of(LookupSection(c.size));
        const double hn = NormalDepth(shape, c.q, c.n, 1 / c.x);
        const double a = c.u.Area(hn), rh = a / c.u.Perimeter(hn);
        EXPECT_NEAR(a * std::pow(rh, 2.0 / 3.0) * std::sqrt(1 / c.x) / c.n, c.q, c.q * 1e-8);
        const double hc = CriticalDepth(shape, c.q);
        EXPECT_NEAR(c.u.FroudeSquared(c.q, hc), 1, 1e-8);
        EXPECT_NEAR(FlowAtDepth(shape, c.q, c.n, hc).froude, 1, 1e-8);
    }
}

// The window's depth is the first 1 mm step whose discharge passes Q, so
// the exact depth lies within the step below it.
TEST(OpenChannel, TheExactDepthLiesWithinTheWindowsLastStep) {
    for (const Case& c : kCases) {
        const USection& row = LookupSection(c.size);
        const DepthSearchResult stepped =
            SearchDepth(row, c.q, {.roughness = c.n, .slope = c.x}, SearchKind::Design);
        if (stepped.overflow) {
            continue;  // the window stops at H
        }
        const double hn = NormalDepth(SectionShape::Of(row), c.q, c.n, 1 / c.x);
        EXPECT_LE(hn, stepped.reportedDepth + 1e-6) << c.q;
        EXPECT_GE(hn, stepped.reportedDepth - 0.002) << c.q;
    }
}

TEST(OpenChannel, FlowAtADepth) {
    const SectionShape shape = SectionShape::Of(LookupSection(SectionSize::U80));
    const test::IndependentU& u = test::kU80;
    const double q = 0.4, n = 0.015, h = 0.45;
    const FlowAt f = FlowAtDepth(shape, q, n, h);
    const double v = q / u.Area(h);
    EXPECT_NEAR(f.velocity, v, 1e-12);
    EXPECT_NEAR(f.energy, h + v * v / (2 * 9.81), 1e-12);
    EXPECT_NEAR(f.frictionSlope, u.FrictionSlope(q, n, h), 1e-12);
    EXPECT_NEAR(f.force, u.SpecificForce(q, h), 1e-10);
    EXPECT_NEAR(f.froude * f.froude, u.FroudeSquared(q, h), 1e-10);
    constexpr double e = 1e-6;
    EXPECT_NEAR(f.dFrictionSlope,
                (u.FrictionSlope(q, n, h + e) - u.FrictionSlope(q, n, h - e)) / (2 * e), 1e-7);
}

}  // namespace
}  // namespace veltrane::canal
