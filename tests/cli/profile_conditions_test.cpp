// SPDX-License-Identifier: GPL-3.0-or-later
// A profile run's conditions as typed, read alike for the command line, the
// program and the page.
#include "cli/profile_conditions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrane::cli {
namespace {

using Kind = views::ConditionProblem::Kind;
using views::Language;

std::vector<Kind> KindsOf(const std::vector<views::ConditionProblem>& problems) {
    std::vector<Kind> kinds;
    for (const auto& p : problems) {
        kinds.push_back(p.kind);
    }
    return kinds;
}

TEST(ProfileConditions, NothingGivenKeepsTheDefaults) {
    canal::CanalRequest r;
    r.factor = 1.5;  // a value already there stays where no text is given
    EXPECT_TRUE(ReadConditionTexts({}, r).empty());
    EXPECT_EQ(r.factor, 1.5);
    EXPECT_EQ(r.end.kind, canal::EndCondition::Normal);
    EXPECT_EQ(r.spacing, 100);
    EXPECT_FALSE(r.minFreeboard);
}

TEST(ProfileConditions, ReadsEachValueAtAndInsideItsBounds) {
    struct Case {
        ConditionTexts texts;
        double factor, spacing, level;
        canal::EndCondition end;
    };
    const Case cases[] = {
        {{.factor = "1", .end = "normal", .spacing = "1000000"},
         1,
         1e6,
         0,
         canal::EndCondition::Normal},
        {{.factor = " 2 ", .end = "critical", .spacing = "0.001"},
         2,
         0.001,
         0,
         canal::EndCondition::Critical},
        {{.factor = "1.15", .end = "-100000", .spacing = "50"},
         1.15,
         50,
         -1e5,
         canal::EndCondition::Level},
        {{.end = " 101.25\t"}, 1, 100, 101.25, canal::EndCondition::Level},
    };
    for (const Case& c : cases) {
        canal::CanalRequest r;
        EXPECT_TRUE(ReadConditionTexts(c.texts, r).empty());
        EXPECT_EQ(r.factor, c.factor);
        EXPECT_EQ(r.spacing, c.spacing);
        EXPECT_EQ(r.end.kind, c.end);
        EXPECT_EQ(r.end.level, c.level);
    }
}

TEST(ProfileConditions, RefusesEveryTextOutsideItsBoundsAndKeepsTheDefault) {
    for (const char* factor : {"0.99", "2.001", "", "1e0", "inf", "nan", "1,2", "k"}) {
        canal::CanalRequest r;
        EXPECT_EQ(KindsOf(ReadConditionTexts({.factor = factor}, r)), std::vector{Kind::Factor})
            << factor;
        EXPECT_EQ(r.factor, 1);
    }
    for (const char* end : {"", "Normal", "CRITICAL", "100001", "-100000.5", "1e3", "高"}) {
        canal::CanalRequest r;
        EXPECT_EQ(KindsOf(ReadConditionTexts({.end = end}, r)), std::vector{Kind::End}) << end;
        EXPECT_EQ(r.end.kind, canal::EndCondition::Normal);
    }
    for (const char* spacing : {"0", "-5", "", "1000000.5", "-0", "100m"}) {
        canal::CanalRequest r;
        EXPECT_EQ(KindsOf(ReadConditionTexts({.spacing = spacing}, r)), std::vector{Kind::Spacing})
            << spacing;
        EXPECT_EQ(r.spacing, 100);
    }
    for (const char* least : {"-0.01", "x", "0.05 m"}) {
        canal::CanalRequest r;
        EXPECT_EQ(KindsOf(ReadConditionTexts({.minFreeboard = least}, r)),
                  std::vector{Kind::MinFreeboard})
            << least;
        EXPECT_FALSE(r.minFreeboard);
    }
}

TEST(ProfileConditions, EveryProblemIsSaidInItsOrder) {
    canal::CanalRequest r;
    const auto problems =
        ReadConditionTexts({.factor = "3", .end = "up", .spacing = "0", .minFreeboard = "-1"}, r);
    EXPECT_EQ(KindsOf(problems),
              (std::vector{Kind::Factor, Kind::End, Kind::Spacing, Kind::MinFreeboard}));
    std::string english, chinese;
    for (const auto& p : problems) {
        english += views::ConditionProblemText(p, Language::English) + "\n";
        chinese += views::ConditionProblemText(p, Language::Chinese);
    }
    EXPECT_EQ(english,
              "--factor takes k from 1 to 2, not '3'\n"
              "--end takes normal, critical or a water level in metres, not 'up'\n"
              "--spacing takes a distance in metres above 0, not '0'\n"
              "--min-freeboard takes a height in metres of 0 or more, not '-1'\n");
    EXPECT_EQ(chinese,
              "加大系数须在 1 至 2 之间。下游水位须为数，单位 m。"
              "断面间距须大于 0 且不大于 1000000 m。最小安全超高须为不小于 0 的数，或不填。");
}

TEST(ProfileConditions, ABlankFreeboardIsNoCriterionAndANumberIsOne) {
    canal::CanalRequest r;
    EXPECT_TRUE(ReadConditionTexts({.minFreeboard = "0.05"}, r).empty());
    EXPECT_EQ(r.minFreeboard, 0.05);
    EXPECT_TRUE(ReadConditionTexts({.minFreeboard = "  "}, r).empty());
    EXPECT_FALSE(r.minFreeboard);
}

TEST(ProfileConditions, AMillionStationsIsTheMostARunMakes) {
    canal::CanalRequest r;
    r.reaches.resize(2);
    r.reaches[0].length = 600;
    r.reaches[1].length = 400;  // 1,000 m
    r.spacing = 0.001;          // exactly a million
    EXPECT_FALSE(TooManyStations(r, "0.001"));
    r.spacing = 0.000999;
    const auto tooMany = TooManyStations(r, "0.000999");
    ASSERT_TRUE(tooMany);
    EXPECT_EQ(views::ConditionProblemText(*tooMany, Language::English),
              "--spacing 0.000999 makes more than 1000000 stations along 1000 m; give a wider "
              "spacing");
    EXPECT_EQ(views::ConditionProblemText(*tooMany, Language::Chinese),
              "断面过多（超过 1000000 个），请加大断面间距。");
    // Where no spacing was given, the default's own text.
    r.reaches[0].length = 1e9;
    r.spacing = 100;
    EXPECT_EQ(views::ConditionProblemText(*TooManyStations(r, std::nullopt), Language::English),
              "--spacing 100 makes more than 1000000 stations along 1000000400 m; give a wider "
              "spacing");
}

}  // namespace
}  // namespace veltrane::cli
