// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/flow_extras.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>

namespace veltrane {
namespace {

// The default bed of the windows: n 0.017, slope 1/500.
constexpr ChannelBed kBed{.roughness = 0.017, .slope = 500};

// The section from first principles, with the true π and α in whole
// degrees: a circular segment below the tangent depth, a trapezoid above.
struct HandGeometry {
    double r, alpha, t;

    explicit HandGeometry(const USection& s)
        : r(s.radius),
          alpha((7 + static_cast<int>(*s.standard)) * std::numbers::pi / 180),
          t(r - r * std::sin(alpha)) {}

    double width(double h) const {
        if (h <= t) {
            return 2 * std::sqrt(r * r - (r - h) * (r - h));
        }
        return width(t) + 2 * (h - t) * std::tan(alpha);
    }
    double area(double h) const {
        if (h <= t) {
            const double theta = 2 * std::acos((r - h) / r);
            return r * r * (theta - std::sin(theta)) / 2;
        }
        return area(t) + (h - t) * (width(t) + width(h)) / 2;
    }
    double perimeter(double h) const {
        if (h <= t) {
            return r * 2 * std::acos((r - h) / r);
        }
        return perimeter(t) + 2 * (h - t) / std::cos(alpha);
    }
    // Manning's velocity and the Froude number at depth h.
    double froude(double h, double n, double x) const {
        const double R = area(h) / perimeter(h);
        const double v = std::pow(R, 2.0 / 3.0) * std::sqrt(1 / x) / n;
        return v / std::sqrt(kGravity * area(h) / width(h));
    }
    double critical(double q) const {
        double lo = 1e-9, hi = 5;
        for (int i = 0; i < 200; ++i) {
            const double mid = (lo + hi) / 2;
            (q * q * width(mid) > kGravity * std::pow(area(mid), 3) ? lo : hi) = mid;
        }
        return lo;
    }
};

struct DepthCase {
    const char* name;
    SectionSize size;
    double depth;  // m
};

void PrintTo(const DepthCase& c, std::ostream* os) {
    *os << c.name;
}

class FroudeTest : public ::testing::TestWithParam<DepthCase> {};

TEST_P(FroudeTest, MatchesTheHandValue) {
    const auto& c = GetParam();
    const USection& s = LookupSection(c.size);
    const HandGeometry hand(s);
    EXPECT_EQ(c.depth <= hand.t, std::string(c.name).find("Arc") != std::string::npos);
    const FlowElements e = ComputeFlowElements(s, c.depth, kBed, SearchKind::Design);
    EXPECT_NEAR(FroudeNumber(e), hand.froude(c.depth, 0.017, 500), 2e-7);
}

INSTANTIATE_TEST_SUITE_P(Depths, FroudeTest,
                         ::testing::Values(DepthCase{"U60Arc", SectionSize::U60, 0.126},
                                           DepthCase{"U60Wall", SectionSize::U60, 0.515},
                                           DepthCase{"U100Arc", SectionSize::U100, 0.05},
                                           DepthCase{"U140Wall", SectionSize::U140, 1.0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CriticalCase {
    const char* name;
    SectionSize size;
    double discharge;  // m³/s
    bool belowTangent;
};

void PrintTo(const CriticalCase& c, std::ostream* os) {
    *os << c.name;
}

class CriticalDepthTest : public ::testing::TestWithParam<CriticalCase> {};

TEST_P(CriticalDepthTest, MatchesTheHandValue) {
    const auto& c = GetParam();
    const USection& s = LookupSection(c.size);
    const HandGeometry hand(s);
    const auto depth = CriticalDepth(s, c.discharge);
    ASSERT_TRUE(depth.has_value());
    EXPECT_NEAR(*depth, hand.critical(c.discharge), 2e-6);
    EXPECT_EQ(*depth <= hand.t, c.belowTangent);
}

INSTANTIATE_TEST_SUITE_P(Discharges, CriticalDepthTest,
                         ::testing::Values(CriticalCase{"U60Arc", SectionSize::U60, 0.05, true},
                                           CriticalCase{"U60Wall", SectionSize::U60, 0.25, false},
                                           CriticalCase{"U120Arc", SectionSize::U120, 0.3, true},
                                           CriticalCase{"U140Wall", SectionSize::U140, 1.9, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CriticalDepth, AboveTheChannelDepthIsNothing) {
    EXPECT_EQ(CriticalDepth(LookupSection(SectionSize::U60), 5.0), std::nullopt);
}

TEST(FlowRegime, SplitsAtOne) {
    EXPECT_EQ(RegimeOf(0.999), FlowRegime::Subcritical);
    EXPECT_EQ(RegimeOf(1.0), FlowRegime::Supercritical);
    EXPECT_EQ(RegimeName(FlowRegime::Subcritical), "subcritical");
    // A steep slope makes the default U60 flow supercritical.
    const FlowElements steep =
        ComputeFlowElements(LookupSection(SectionSize::U60), 0.2,
                            ChannelBed{.roughness = 0.012, .slope = 50}, SearchKind::Design);
    EXPECT_EQ(RegimeOf(FroudeNumber(steep)), FlowRegime::Supercritical);
}

// The deepest depth the search evaluates carries the section's capacity:
// U60 carries about 0.26846 m³/s at 0.539 m; U140 reaches its full depth.
TEST(Capacity, IsTheDischargeAtTheDeepestSearchedDepth) {
    const USection& u60 = LookupSection(SectionSize::U60);
    EXPECT_NEAR(DeepestSearchDepth(u60), 0.539, 1e-9);
    EXPECT_NEAR(Capacity(u60, kBed), 0.26846, 5e-6);
    EXPECT_NEAR(DeepestSearchDepth(LookupSection(SectionSize::U140)), 1.05, 1e-9);
    for (const USection& s : SectionCatalogue) {
        const double capacity = Capacity(s, kBed);
        EXPECT_FALSE(RunCalculation(s, {"1e9", "500", "0.017", "1"}).isReport());
        // Just under the capacity the design search stops at the deepest depth.
        const DepthSearchResult r = SearchDepth(s, capacity * (1 - 1e-9), kBed, SearchKind::Design);
        EXPECT_EQ(r.elements.depth, DeepestSearchDepth(s));
    }
}

class RatingTableTest : public ::testing::TestWithParam<double> {};

TEST_P(RatingTableTest, EndsAtTheChannelDepth) {
    for (const USection& s : SectionCatalogue) {
        const double step = GetParam();
        if (step > s.channelDepth) {
            continue;
        }
        const auto rows = RatingTable(s, kBed, step);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.back().elements.depth, s.channelDepth);
        EXPECT_EQ(rows.front().elements.depth, rows.size() == 1 ? s.channelDepth : step);
        for (std::size_t i = 1; i < rows.size(); ++i) {
            EXPECT_GT(rows[i].elements.depth, rows[i - 1].elements.depth);
            EXPECT_GT(rows[i].elements.discharge, rows[i - 1].elements.discharge);
        }
        const double expectedRows = std::ceil(s.channelDepth / step - 1e-6);
        EXPECT_EQ(static_cast<double>(rows.size()), expectedRows) << step;
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, RatingTableTest,
                         ::testing::Values(0.01, 0.001, 0.05, 0.07, 0.3, 0.54, 0.9, 1.05));

struct FitCase {
    const char* name;
    CalculationInputs inputs;
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.name;
}

class FitTest : public ::testing::TestWithParam<FitCase> {};

// The rows are the single calculations, and the smallest fitting size is the
// first of them that reports.
TEST_P(FitTest, AgreesWithTheSingleCalculations) {
    const FitResult fit = FitSections(GetParam().inputs);
    std::optional<SectionSize> firstReport;
    for (int i = 0; i < kSectionCount; ++i) {
        const auto size = static_cast<SectionSize>(i);
        const CalculationOutcome single = RunCalculation(LookupSection(size), GetParam().inputs);
        const FitRow& row = fit.rows[static_cast<std::size_t>(i)];
        EXPECT_EQ(row.section, &LookupSection(size));
        EXPECT_EQ(row.status == FitStatus::Fits, single.isReport());
        if (single.isReport()) {
            firstReport = firstReport ? firstReport : size;
            EXPECT_EQ(row.outcome.searches->design.reportedDepth,
                      single.searches->design.reportedDepth);
            EXPECT_DOUBLE_EQ(row.freeboard, LookupSection(size).channelDepth -
                                                single.searches->check.reportedDepth);
        } else {
            const int number = static_cast<int>(single.message().number);
            EXPECT_EQ(row.outcome.message().number, single.message().number);
            EXPECT_EQ(row.status == FitStatus::DesignAbove, number == 5);
            EXPECT_EQ(row.status == FitStatus::CheckAbove, number == 6);
        }
    }
    EXPECT_EQ(fit.smallest, fit.rejected || !firstReport ? nullptr : &LookupSection(*firstReport));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, FitTest,
    ::testing::Values(FitCase{"AllFit", {"0.25", "500", "0.017", "1.0"}},
                      FitCase{"U60CheckTooDeep", {"0.25", "500", "0.017", "1.2"}},
                      FitCase{"OnlyU140", {"1.9", "500", "0.017", "1"}},
                      FitCase{"NoneFits", {"9", "500", "0.017", "1"}},
                      FitCase{"BadRoughness", {"0.25", "500", "abc", "1"}},
                      FitCase{"ResultOutOfRange", {"0.25", "500", "1e-310", "1"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Message numbers as the calculation gives them: 2 for an empty discharge,
// 7 for a roughness whose 1/n is infinite; none when no section fits.
TEST(FitSections, RejectedTextsCarryTheSingleCalculationsMessage) {
    const struct {
        CalculationInputs inputs;
        int message;  // 0: not rejected
    } cases[] = {
        {{"", "500", "0.017", "1"}, 2},
        {{"9", "500", "0.017", "1"}, 0},
        {{"0.25", "500", "1e-310", "1"}, 7},
        {{"1e400", "500", "0.017", "1"}, 7},
    };
    for (const auto& c : cases) {
        const FitResult fit = FitSections(c.inputs);
        EXPECT_EQ(fit.rejected ? static_cast<int>(fit.rejected->number) : 0, c.message)
            << c.inputs.roughness;
        if (fit.rejected) {
            EXPECT_EQ(fit.smallest, nullptr);
        }
    }
}

TEST(HalfWidthAt, FollowsTheSurfaceWidth) {
    for (const USection& s : SectionCatalogue) {
        for (double h : {0.05, 0.2, 0.4, s.channelDepth}) {
            const FlowElements e = ComputeFlowElements(s, h, kBed, SearchKind::Design);
            EXPECT_NEAR(2 * HalfWidthAt(s, h), e.surfaceWidth, 1e-9) << h;
        }
    }
}

}  // namespace
}  // namespace veltrane
