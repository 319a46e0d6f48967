// SPDX-License-Identifier: GPL-3.0-or-later
// The design aids against the single calculations that define them.
#include "hydraulics/design_aids.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace veltrane {
namespace {

bool ServesAt(SectionSize size, const std::string& q, const std::string& x,
              const DesignCriteria& c = {}, const std::string& k = "1.0") {
    const USection& s = LookupSection(size);
    return Serves(s, RunCalculation(s, {q, x, "0.017", k}), c);
}

struct AidCase {
    const char* name;
    SectionSize size;
    const char* slope;
    const char* factor;
    DesignCriteria criteria;
};

void PrintTo(const AidCase& c, std::ostream* os) {
    *os << c.name;
}

class CapacityTest : public ::testing::TestWithParam<AidCase> {};

// Q serves and Q + 0.0001 m³/s does not.
TEST_P(CapacityTest, IsTheLastDischargeThatServes) {
    const AidCase& c = GetParam();
    const CapacityResult r =
        FindCapacity(LookupSection(c.size), c.slope, "0.017", c.factor, c.criteria);
    ASSERT_TRUE(r.discharge.has_value());
    const long q = std::lround(*r.discharge * 10000);
    EXPECT_TRUE(ServesAt(c.size, DischargeText(q), c.slope, c.criteria, c.factor));
    EXPECT_FALSE(ServesAt(c.size, DischargeText(q + 1), c.slope, c.criteria, c.factor));
    EXPECT_EQ(r.dischargeText, DischargeText(q));
    ASSERT_TRUE(r.outcome.isReport());
}

INSTANTIATE_TEST_SUITE_P(
    Sections, CapacityTest,
    ::testing::Values(
        AidCase{"U60At500", SectionSize::U60, "500", "1.0", {}},
        AidCase{"U80At300Increased", SectionSize::U80, "300", "1.2", {}},
        AidCase{"U100Freeboard", SectionSize::U100, "1000", "1.1", {.minFreeboard = 0.1}},
        AidCase{"U120MaxVelocity", SectionSize::U120, "200", "1", {.maxVelocity = 1.2}},
        AidCase{"U140Flat",
                SectionSize::U140,
                "5000",
                "2",
                {.minFreeboard = 0.05, .minVelocity = 0.2}}),
    [](const auto& info) { return std::string(info.param.name); });

// The worked example's edge: 0.2675 is reported at U60, 0.268 is message 5.
TEST(Capacity, AgreesWithTheDeepestReportableDischarge) {
    const CapacityResult r = FindCapacity(LookupSection(SectionSize::U60), "500", "0.017", "1", {});
    ASSERT_TRUE(r.discharge.has_value());
    EXPECT_GE(*r.discharge, 0.2675);
    EXPECT_LT(*r.discharge, 0.268);
}

TEST(Capacity, AVelocityFloorNoDischargeReaches) {
    const CapacityResult r =
        FindCapacity(LookupSection(SectionSize::U60), "5000", "0.017", "1", {.minVelocity = 3});
    EXPECT_FALSE(r.discharge.has_value());
    EXPECT_EQ(r.reason.where, ServeFailure::Where::LargestFitting);
    EXPECT_EQ(r.reason.why, ServeFailure::Why::VelocityBelow);
    EXPECT_EQ(r.reason.limit, 3);
    EXPECT_LT(r.reason.value, 3);
}

TEST(Capacity, RejectedTextsGiveTheirMessage) {
    const CapacityResult r = FindCapacity(LookupSection(SectionSize::U60), "-1", "0.017", "1", {});
    ASSERT_TRUE(r.rejected.has_value());
    EXPECT_EQ(r.rejected->number, MessageNumber::Slope);
}

class SolveSlopeTest : public ::testing::TestWithParam<AidCase> {};

// The ends serve; one step beyond each does not.
TEST_P(SolveSlopeTest, EndsAgreeWithSingleCalculations) {
    const AidCase& c = GetParam();
    const std::string q = c.slope;  // here: the discharge
    const SlopeRange r = SolveSlope(LookupSection(c.size), q, "0.017", c.factor, c.criteria);
    ASSERT_TRUE(r.steepest && r.flattest);
    EXPECT_LE(*r.steepest, *r.flattest);
    EXPECT_TRUE(ServesAt(c.size, q, std::to_string(*r.steepest), c.criteria, c.factor));
    EXPECT_TRUE(ServesAt(c.size, q, std::to_string(*r.flattest), c.criteria, c.factor));
    EXPECT_FALSE(ServesAt(c.size, q, std::to_string(*r.flattest + 1), c.criteria, c.factor));
    if (*r.steepest > kSteepestSlope) {
        EXPECT_FALSE(ServesAt(c.size, q, std::to_string(*r.steepest - 1), c.criteria, c.factor));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Discharges, SolveSlopeTest,
    ::testing::Values(AidCase{"U60Plain", SectionSize::U60, "0.25", "1.0", {}},
                      AidCase{"U60BothVelocities",
                              SectionSize::U60,
                              "0.25",
                              "1.0",
                              {.minFreeboard = 0.05, .minVelocity = 0.5, .maxVelocity = 1}},
                      AidCase{
                          "U100Increased", SectionSize::U100, "0.55", "1.2", {.maxVelocity = 1.5}},
                      AidCase{"U140Small", SectionSize::U140, "0.3", "1", {.minVelocity = 0.6}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SolveSlope, NoSlopeServesATooLargeDischarge) {
    const SlopeRange r = SolveSlope(LookupSection(SectionSize::U60), "5", "0.017", "1", {});
    EXPECT_FALSE(r.steepest.has_value());
    EXPECT_EQ(r.reason.where, ServeFailure::Where::SteepestSlope);
    EXPECT_EQ(r.reason.why, ServeFailure::Why::DesignDepthAboveH);
    EXPECT_EQ(r.reason.channelDepth, 0.54);
}

TEST(SolveSlope, NoSlopeMeetsAVelocityCeilingBelowWhatTheSectionNeeds) {
    const SlopeRange r =
        SolveSlope(LookupSection(SectionSize::U60), "0.25", "0.017", "1", {.maxVelocity = 0.5});
    EXPECT_FALSE(r.flattest.has_value());
    EXPECT_EQ(r.reason.why, ServeFailure::Why::VelocityAbove);
    EXPECT_EQ(r.reason.limit, 0.5);
    EXPECT_GT(r.reason.value, 0.5);
}

TEST(SelectionTable, ShapeAndOrder) {
    const long slopes[] = {300, 500, 1000, 2000, 3000, 5000};
    const auto rows = SelectionTable(slopes, "0.017", "1.0", {});
    ASSERT_EQ(rows.size(), 6u);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].slope, slopes[r]);
        for (std::size_t s = 0; s < kSectionCount; ++s) {
            ASSERT_TRUE(rows[r].sections[s].discharge.has_value());
            if (s > 0) {  // a larger section carries more
                EXPECT_GT(*rows[r].sections[s].discharge, *rows[r].sections[s - 1].discharge);
            }
            if (r > 0) {  // a flatter slope carries less
                EXPECT_LT(*rows[r].sections[s].discharge, *rows[r - 1].sections[s].discharge);
            }
        }
    }
}

}  // namespace
}  // namespace veltrane
