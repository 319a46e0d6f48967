// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/section_hydraulics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace veltrane {

void PrintTo(SearchKind kind, std::ostream* os) {
    *os << (kind == SearchKind::Design ? "Design" : "Check");
}

namespace {

// The default bed of the windows: n 0.017, slope 1/500.
constexpr ChannelBed kBed{.roughness = 0.017, .slope = 500};

const USection& U60() {
    return LookupSection(SectionSize::U60);
}

// Relative agreement to seven significant digits.
void ExpectSevenDigits(double actual, double expected, const char* what) {
    EXPECT_NEAR(actual, expected, std::fabs(expected) * 6e-7) << what;
}

TEST(ComputeFlowElements, WallRegionAtU60DesignDepth) {
    const FlowElements e = ComputeFlowElements(U60(), 0.515, kBed, SearchKind::Design);
    ExpectSevenDigits(0.515 - TangentDepth(U60()), 0.2515608, "s");
    ExpectSevenDigits(e.area, 0.2770712, "A");
    ExpectSevenDigits(e.wettedPerimeter, 1.376074, "X");
    ExpectSevenDigits(e.hydraulicRadius, 0.2013491, "R");
    ExpectSevenDigits(e.chezy, 45.03422, "C");
    ExpectSevenDigits(e.surfaceWidth, 0.6573033, "b");
    ExpectSevenDigits(e.discharge, 0.2503940, "Q");
    ExpectSevenDigits(e.velocity, 0.9037171, "V");
}

TEST(ComputeFlowElements, ArcRegionBothKindsAgree) {
    const FlowElements d = ComputeFlowElements(U60(), 0.126, kBed, SearchKind::Design);
    ExpectSevenDigits(d.area, 0.04316311, "A");
    ExpectSevenDigits(d.wettedPerimeter, 0.5712406, "X");
    ExpectSevenDigits(d.surfaceWidth, 0.4887699, "b");
    ExpectSevenDigits(d.chezy, 38.24723, "C");
    ExpectSevenDigits(d.discharge, 0.02029432, "Q");
    ExpectSevenDigits(d.velocity, 0.4701775, "V");

    const FlowElements c = ComputeFlowElements(U60(), 0.126, kBed, SearchKind::Check);
    EXPECT_NEAR(c.area, d.area, 5e-9);
    EXPECT_NE(c.area, d.area);  // different half-angle rule and π
    EXPECT_EQ(c.surfaceWidth, 0);
    EXPECT_EQ(c.velocity, 0);
}

// U60 converts the design half angle to degrees with 3.1415926 and back with
// 3.141592654, so its arc terms carry the ratio of the two.
TEST(ComputeFlowElements, U60DesignCarriesTheShortPiFactor) {
    USection longPi = U60();
    longPi.piDeg = kPi;
    const FlowElements d = ComputeFlowElements(U60(), 0.2, kBed, SearchKind::Design);
    const FlowElements l = ComputeFlowElements(longPi, 0.2, kBed, SearchKind::Design);
    EXPECT_NEAR(d.wettedPerimeter / l.wettedPerimeter, 3.141592654 / 3.1415926, 1e-15);
    EXPECT_GT(d.area, l.area);
    EXPECT_EQ(d.surfaceWidth, l.surfaceWidth);
}

class TangentJunction : public ::testing::TestWithParam<std::tuple<int, SearchKind>> {};

// At the tangent depth itself the arc rules apply; just above it the wall
// rules. Both describe the same section, so they meet.
TEST_P(TangentJunction, ArcAndWallRulesMeet) {
    const auto [index, kind] = GetParam();
    const USection& s = LookupSection(static_cast<SectionSize>(index));
    const double t = TangentDepth(s);
    const double above = std::nextafter(t, 1.0);
    const FlowElements arc = ComputeFlowElements(s, t, kBed, kind);
    const FlowElements wall = ComputeFlowElements(s, above, kBed, kind);
    // U60's design search differs by its π factor, about 1.7e-8 relative.
    const double tolerance = 3e-8;
    EXPECT_NEAR(arc.area / wall.area, 1, tolerance);
    EXPECT_NEAR(arc.wettedPerimeter / wall.wettedPerimeter, 1, tolerance);
    if (kind == SearchKind::Design) {
        EXPECT_NEAR(arc.surfaceWidth / wall.surfaceWidth, 1, 1e-10);
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllSizes, TangentJunction,
    ::testing::Combine(::testing::Range(0, kSectionCount),
                       ::testing::Values(SearchKind::Design, SearchKind::Check)),
    [](const auto& info) {
        return std::string(SectionName(static_cast<SectionSize>(std::get<0>(info.param)))) +
               (std::get<1>(info.param) == SearchKind::Design ? "Design" : "Check");
    });

TEST(ComputeFlowElements, U60JunctionValues) {
    const double t = TangentDepth(U60());
    EXPECT_NEAR(t, 0.2634392, 5e-8);
    const FlowElements arc = ComputeFlowElements(U60(), t, kBed, SearchKind::Design);
    const FlowElements wall =
        ComputeFlowElements(U60(), std::nextafter(t, 1.0), kBed, SearchKind::Design);
    EXPECT_NEAR(arc.area, 0.119489612, 5e-10);
    EXPECT_NEAR(wall.area, 0.119489610, 5e-10);
}

TEST(SearchDepth, StopsAtTheFirstDepthThatExceedsTheTarget) {
    const DepthSearchResult r = SearchDepth(U60(), 0.25, kBed, SearchKind::Design);
    EXPECT_FALSE(r.overflow);
    EXPECT_NEAR(r.reportedDepth, 0.516, 1e-12);
    EXPECT_NEAR(r.elements.depth, 0.515, 1e-12);
    ExpectSevenDigits(r.elements.discharge, 0.2503940, "Q at 0.515");
    const FlowElements below =
        ComputeFlowElements(U60(), r.elements.depth - 0.001, kBed, SearchKind::Design);
    EXPECT_LT(below.discharge, 0.25);
}

TEST(SearchDepth, AnEqualDischargeContinuesTheSearch) {
    const DepthSearchResult first = SearchDepth(U60(), 0.25, kBed, SearchKind::Design);
    const double exact = first.elements.discharge;
    const DepthSearchResult equal = SearchDepth(U60(), exact, kBed, SearchKind::Design);
    EXPECT_NEAR(equal.reportedDepth, first.reportedDepth + 0.001, 1e-12);
}

TEST(SearchDepth, TinyTargetTakesOnePass) {
    const DepthSearchResult r = SearchDepth(U60(), 1e-9, kBed, SearchKind::Design);
    EXPECT_EQ(r.reportedDepth, 0.001 + 0.001);
    EXPECT_EQ(r.elements.depth, 0.001);
    EXPECT_NEAR(r.elements.area, 3.26e-05, 0.01e-05);
    EXPECT_NEAR(r.elements.discharge, 6.55e-07, 0.01e-07);
}

// The running depth is a sum of 0.001s. Its drift puts the step that should
// equal the channel depth just above it for U60 … U120, so they stop one step
// short, and just below it for U140, which therefore evaluates its full depth.
class SearchDrift : public ::testing::TestWithParam<std::tuple<int, double>> {};

TEST_P(SearchDrift, DeepestEvaluatedDepth) {
    const auto [index, deepest] = GetParam();
    const USection& s = LookupSection(static_cast<SectionSize>(index));
    const double huge = std::numeric_limits<double>::max();
    for (SearchKind kind : {SearchKind::Design, SearchKind::Check}) {
        const DepthSearchResult r = SearchDepth(s, huge, kBed, kind);
        EXPECT_TRUE(r.overflow);
        EXPECT_NEAR(r.elements.depth, deepest, 1e-9);
        EXPECT_GT(r.reportedDepth, s.channelDepth);
    }
    // The deepest depth evaluated is also the deepest that can be reported
    // without overflow: the exceeding depth lies one step below it.
    const double below = deepest - 0.001;
    const FlowElements e = ComputeFlowElements(s, below, kBed, SearchKind::Design);
    const DepthSearchResult r = SearchDepth(s, e.discharge * (1 - 1e-6), kBed, SearchKind::Design);
    EXPECT_FALSE(r.overflow);
    EXPECT_NEAR(r.reportedDepth, deepest, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(AllSizes, SearchDrift,
                         ::testing::Values(std::make_tuple(0, 0.539), std::make_tuple(1, 0.639),
                                           std::make_tuple(2, 0.749), std::make_tuple(3, 0.899),
                                           std::make_tuple(4, 1.05)),
                         [](const auto& info) {
                             return std::string(
                                 SectionName(static_cast<SectionSize>(std::get<0>(info.param))));
                         });

}  // namespace
}  // namespace veltrane
