// SPDX-License-Identifier: GPL-3.0-or-later
// The design aids' answers are the true extremes on their grids (whole x of
// 1/x, 0.0001 m³/s), also where the printed velocity is not monotone. The
// expected answers come from single runs at every slope, made here.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "hydraulics/design_aids.h"
#include "hydraulics/number_rules.h"

namespace veltrane {
namespace {

// What a single run at one slope gives.
struct SlopeRun {
    bool report = false;
    double velocity = 0;  // as the report prints it, m/s
};

// A single run at every whole slope from 1/10 to 1/100000.
std::vector<SlopeRun> RunEverySlope(const USection& s, const std::string& q, const std::string& n,
                                    const std::string& k) {
    std::vector<SlopeRun> runs(kFlattestSlope + 1);
    for (long x = kSteepestSlope; x <= kFlattestSlope; ++x) {
        const std::string slope = std::to_string(x);
        const CalculationOutcome o = EvaluateCalculation(s, {q, slope, n, k});
        if (o.isReport()) {
            runs[static_cast<std::size_t>(x)] = {
                .report = true, .velocity = RoundHalfEven(o.searches->design.elements.velocity, 3)};
        }
    }
    return runs;
}

// The two reproducers: the searched answer missed slopes that serve.
TEST(SolveSlopeExtremes, FlatSlopesFoundByAnAuditAreTheAnswers) {
    const USection& u140 = LookupSection(SectionSize::U140);
    const SlopeRange slow = SolveSlope(u140, "0.3", "0.011", "1", {.minVelocity = 0.237});
    ASSERT_TRUE(slow.flattest.has_value());
    EXPECT_EQ(*slow.flattest, 49503);
    const SlopeRange fast = SolveSlope(u140, "0.3", "0.011", "1", {.maxVelocity = 0.27});
    ASSERT_TRUE(fast.steepest.has_value());
    EXPECT_EQ(*fast.steepest, 34992);
}

// A shallow flow in U60, where one depth step moves the velocity far:
// lowest and highest velocities across the range the flat slopes print,
// against every slope's single run.
TEST(SolveSlopeExtremes, VelocityLimitsAgreeWithEverySlopesRun) {
    const USection& u60 = LookupSection(SectionSize::U60);
    const std::string q = "0.001";
    const std::vector<SlopeRun> runs = RunEverySlope(u60, q, "0.014", "1.0");
    double least = 1e9;
    double most = 0;
    for (long x = 2000; x <= kFlattestSlope; ++x) {
        const SlopeRun& r = runs[static_cast<std::size_t>(x)];
        if (r.report) {
            least = std::min(least, r.velocity);
            most = std::max(most, r.velocity);
        }
    }
    ASSERT_LT(least, most);
    constexpr int kLimits = 16;
    for (int i = 0; i <= kLimits; ++i) {
        const double limit = RoundHalfEven(least + (most - least) * i / kLimits, 3);
        std::optional<long> flattest;  // for a lowest velocity
        std::optional<long> steepest;  // for a highest one
        for (long x = kSteepestSlope; x <= kFlattestSlope; ++x) {
            const SlopeRun& r = runs[static_cast<std::size_t>(x)];
            if (r.report && r.velocity >= limit) {
                flattest = x;
            }
            if (r.report && r.velocity <= limit && !steepest) {
                steepest = x;
            }
        }
        const SlopeRange low = SolveSlope(u60, q, "0.014", "1.0", {.minVelocity = limit});
        EXPECT_EQ(low.flattest, flattest) << "lowest velocity " << limit;
        const SlopeRange high = SolveSlope(u60, q, "0.014", "1.0", {.maxVelocity = limit});
        EXPECT_EQ(high.steepest, steepest) << "highest velocity " << limit;
    }
}

// With a minimum discharge, the lowest velocity is judged at it, slope by
// slope: each end serves as a single run judges it, and the next 300 slopes
// beyond each end do not.
TEST(SolveSlopeExtremes, ALowestVelocityAtTheMinimumDischarge) {
    const USection& u80 = LookupSection(SectionSize::U80);
    const DesignCriteria c{.minVelocity = 0.55, .maxVelocity = 1.6, .minDischarge = 0.04};
    const SlopeRange r = SolveSlope(u80, "0.3", "0.014", "1.2", c);
    ASSERT_TRUE(r.steepest && r.flattest);
    const auto serves = [&](long x) {
        return Serves(u80, RunCalculation(u80, {"0.3", std::to_string(x), "0.014", "1.2"}), c);
    };
    EXPECT_TRUE(serves(*r.steepest));
    EXPECT_TRUE(serves(*r.flattest));
    for (long x = *r.flattest + 1; x <= std::min(*r.flattest + 300, kFlattestSlope); ++x) {
        ASSERT_FALSE(serves(x)) << "1/" << x;
    }
    for (long x = std::max(kSteepestSlope, *r.steepest - 300); x < *r.steepest; ++x) {
        ASSERT_FALSE(serves(x)) << "1/" << x;
    }
    // Judged at Q instead, the lowest velocity allows flatter slopes.
    const SlopeRange atQ =
        SolveSlope(u80, "0.3", "0.014", "1.2", {.minVelocity = 0.55, .maxVelocity = 1.6});
    ASSERT_TRUE(atQ.flattest.has_value());
    EXPECT_GT(*atQ.flattest, *r.flattest);
}

// The grid the sweep walks gives each search what the stepping search gives,
// to the last bit, whatever step it starts from.
TEST(DepthGrid, SearchesAsTheSteppingSearchDoes) {
    std::mt19937 random(2026);
    std::uniform_real_distribution<double> unit(0, 1);
    for (const USection& s : SectionCatalogue) {
        for (const SearchKind kind : {SearchKind::Design, SearchKind::Check}) {
            const DepthGrid grid(s, 0.014, kind);
            std::size_t hint = 0;
            for (int i = 0; i < 300; ++i) {
                const double x = 10 + std::floor(unit(random) * 100000);
                const double q = std::pow(10, unit(random) * 4 - 3);  // 0.001 … 10 m³/s
                hint = static_cast<std::size_t>(unit(random) * 2000);
                const DepthSearchResult want = SearchDepth(s, q, {0.014, x}, kind);
                const DepthSearchResult got = grid.Search(q, x, hint);
                ASSERT_EQ(got.reportedDepth, want.reportedDepth) << q << " at 1/" << x;
                EXPECT_EQ(got.overflow, want.overflow);
                EXPECT_EQ(got.elements.discharge, want.elements.discharge);
                EXPECT_EQ(got.elements.velocity, want.elements.velocity);
                EXPECT_EQ(got.elements.area, want.elements.area);
                EXPECT_EQ(got.elements.surfaceWidth, want.elements.surfaceWidth);
                EXPECT_EQ(got.elements.chezy, want.elements.chezy);
                ASSERT_EQ(got.previous.has_value(), want.previous.has_value());
                if (want.previous) {
                    EXPECT_EQ(got.previous->discharge, want.previous->discharge);
                }
            }
        }
    }
}

// The sweep may start a search anywhere because the discharge rises by far
// more than rounding from each depth step to the next, in every section.
TEST(DepthGrid, DischargeRisesByMoreThanRoundingAtEveryStep) {
    for (const USection& s : SectionCatalogue) {
        for (const SearchKind kind : {SearchKind::Design, SearchKind::Check}) {
            const DepthGrid grid(s, 0.017, kind);
            ASSERT_GT(grid.size(), 500u);
            for (std::size_t i = 1; i < grid.size(); ++i) {
                ASSERT_GT(grid.DischargeAt(i, 500), grid.DischargeAt(i - 1, 500) * (1 + 1e-4))
                    << s.name << " step " << i;
            }
        }
    }
}

// Past 2³⁰ ten-thousandths the discharge grid goes on: with a roughness near
// 0 the section carries hundreds of thousands of m³/s.
TEST(CapacityExtremes, LargeDischargesAreSearchedToTheLast) {
    const USection& u140 = LookupSection(SectionSize::U140);
    const CapacityResult r = FindCapacity(u140, "10", "0.000001", "1", {});
    ASSERT_TRUE(r.discharge.has_value());
    EXPECT_FALSE(r.atSearchLimit);
    EXPECT_GT(*r.discharge, 200000.0);  // 200000 still gives a report
    const auto serves = [&](const std::string& q) {
        return Serves(u140, RunCalculation(u140, {q, "10", "0.000001", "1"}), {});
    };
    EXPECT_TRUE(serves("200000"));
    const std::int64_t q = std::llround(*r.discharge * 10000);
    EXPECT_TRUE(serves(r.dischargeText));
    EXPECT_FALSE(serves(DischargeText(q + 1)));
}

TEST(CapacityExtremes, TheSearchsLimitIsSaid) {
    const USection& u60 = LookupSection(SectionSize::U60);
    const CapacityResult r = FindCapacity(u60, "10", "1e-20", "1", {});
    ASSERT_TRUE(r.discharge.has_value());
    EXPECT_TRUE(r.atSearchLimit);
    EXPECT_EQ(r.dischargeText, "100000000000000.0000");
}

}  // namespace
}  // namespace veltrane
