// SPDX-License-Identifier: GPL-3.0-or-later
// Criteria texts read by the one rule, and what a refusal says.
#include <gtest/gtest.h>

#include <cmath>

#include "views/criteria.h"

namespace veltrane::views {
namespace {

struct MeasureCase {
    const char* text;
    int kind;  // 0 none, 1 value, 2 refused
    double value;
};

TEST(ReadMeasure, OneRuleForEveryField) {
    const MeasureCase cases[] = {
        {"", 0, 0},      {"  \t", 0, 0},   {"0.5", 1, 0.5}, {" 0.5 ", 1, 0.5}, {"0", 1, 0},
        {"-0", 1, 0},    {"1e-1", 1, 0.1}, {"3", 1, 3},     {".5", 1, 0.5},    {"3 m/s", 2, 0},
        {"abc", 2, 0},   {"-1", 2, 0},     {"1,5", 2, 0},   {"inf", 2, 0},     {"nan", 2, 0},
        {"1e999", 2, 0}, {"0.5.1", 2, 0},  {"２", 2, 0},    {"0x10", 2, 0},    {"5 0", 2, 0},
    };
    for (const MeasureCase& c : cases) {
        const MeasureReading r = ReadMeasure(c.text);
        ASSERT_EQ(static_cast<int>(r.index()), c.kind) << '"' << c.text << '"';
        if (c.kind == 1) {
            EXPECT_EQ(std::get<double>(r), c.value) << c.text;
            EXPECT_FALSE(std::signbit(std::get<double>(r))) << c.text;
        }
    }
}

TEST(ReadCriteria, ReadsEachFieldIntoItsCriterion) {
    const CriteriaReading r = ReadCriteria({"0.05", "", " 2.5"});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.criteria.minFreeboard, 0.05);
    EXPECT_FALSE(r.criteria.minVelocity.has_value());
    EXPECT_EQ(r.criteria.maxVelocity, 2.5);
}

TEST(ReadCriteria, EveryRefusalIsSaidInBothVoices) {
    const CriteriaReading r = ReadCriteria({"abc", "", "3 m/s"});
    ASSERT_EQ(r.problems.size(), 2u);
    EXPECT_EQ(ProblemsText(r.problems, Language::Chinese),
              "最小安全超高“abc”无效：须为 0 或更大的数（单位 m，只填数字）；不设此准则请留空。\n"
              "最大流速“3 m/s”无效：须为 0 或更大的数（单位 m/s，只填数字）；不设此准则请留空。");
    EXPECT_EQ(ProblemsText(r.problems, Language::English),
              "--min-freeboard takes a value in m, 0 or more, written as a plain decimal\n"
              "--max-velocity takes a value in m/s, 0 or more, written as a plain decimal");
}

// A minimum discharge is a flow: 0 is refused too, and said so.
TEST(ReadCriteria, AMinimumDischargeMustBeAFlow) {
    const CriteriaReading zero = ReadCriteria({"", "", "", " 0 "});
    ASSERT_EQ(zero.problems.size(), 1u);
    EXPECT_EQ(ProblemText(zero.problems[0], Language::Chinese),
              "最小流量“ 0 ”无效：须为大于 0 的数（单位 m³/s，只填数字）；不设此流量请留空。");
    EXPECT_EQ(ProblemText(zero.problems[0], Language::English),
              "--min-discharge takes a value in m3/s, more than 0, written as a plain decimal");
    const CriteriaReading given = ReadCriteria({"", "0.3", "", "0.05"});
    ASSERT_TRUE(given.ok());
    EXPECT_EQ(given.criteria.minDischarge, 0.05);
    // A flow is not a criterion: with it alone, none is given.
    EXPECT_TRUE(ReadCriteria({"", "", "", "0.05"}).criteria.empty());
}

TEST(ReadCriteria, ALowestVelocityAboveTheHighestIsRefused) {
    const CriteriaReading r = ReadCriteria({"", "0.9", "0.5"});
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_EQ(ProblemText(r.problems[0], Language::Chinese),
              "最小流速 0.9 m/s 大于最大流速 0.5 m/s：请改正其一。");
    EXPECT_EQ(ProblemText(r.problems[0], Language::English),
              "--min-velocity is above --max-velocity");
    // Equal limits are one permitted velocity, not a contradiction.
    EXPECT_TRUE(ReadCriteria({"", "0.9", "0.9"}).ok());
}

TEST(FieldLabel, NamesTheFieldWithItsUnit) {
    EXPECT_EQ(FieldLabel(CriterionField::MinFreeboard), "最小安全超高 (m)");
    EXPECT_EQ(FieldLabel(CriterionField::MinVelocity), "最小流速 (m/s)");
    EXPECT_EQ(FieldLabel(CriterionField::MaxVelocity), "最大流速 (m/s)");
}

}  // namespace
}  // namespace veltrane::views
