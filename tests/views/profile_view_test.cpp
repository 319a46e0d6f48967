// SPDX-License-Identifier: GPL-3.0-or-later
// The water surface's table and checks as the program and the page show them.
#include "views/profile_view.h"

#include <gtest/gtest.h>

namespace veltrane::views {
namespace {

canal::CanalRequest TwoReaches() {
    canal::CanalRequest r;
    r.reaches.resize(2);
    r.reaches[0].name = "总干<1>";
    r.reaches[1].name = "一支渠";
    return r;
}

// Numbers follow the one rule for a number outside the report: rounded to
// the millimetre (Fr to two places), without trailing zeros.
TEST(ProfileView, AStationsCellsUnderTheirHeadings) {
    EXPECT_EQ(StationHeadings(),
              (std::vector<std::string_view>{"渠段", "桩号", "渠底高程 (m)", "水深 h (m)",
                                             "水位 (m)", "流速 v (m/s)", "Fr", "能量高程 (m)",
                                             "渠顶高程 (m)", "超高 (m)", "曲线"}));
    const canal::Station s{.reach = 1,
                           .chainage = 1234.5,
                           .bed = 99.87654,
                           .depth = 0.5764,
                           .level = 100.45294,
                           .velocity = 0.8126,
                           .froude = 0.4049,
                           .energy = 100.4866,
                           .top = 100.47654,
                           .freeboard = 0.0236,
                           .type = canal::CurveType::M2};
    EXPECT_EQ(StationCells(TwoReaches(), s),
              (std::vector<std::string>{"一支渠", "1+234.5", "99.877", "0.576", "100.453", "0.813",
                                        "0.4", "100.487", "100.477", "0.024", "M2"}));
    canal::Station uniform = s;
    uniform.reach = 0;
    uniform.type = canal::CurveType::N;
    EXPECT_EQ(StationCells(TwoReaches(), uniform).front(), "总干<1>");
    EXPECT_EQ(StationCells(TwoReaches(), uniform).back(), "均匀流");
}

TEST(ProfileView, TheChecksALineEachTheVerdictLast) {
    canal::CanalProfile p;
    EXPECT_EQ(CheckLines(TwoReaches(), p),
              std::vector<std::string>{"水面线均在渠顶以下，各项校核满足。"});
    p.checks.overtopped.push_back(
        {.flow = canal::FlowKind::Check, .reach = 1, .from = 300, .to = 450.25, .worst = -0.0314});
    p.checks.shortFreeboard.push_back(
        {.flow = canal::FlowKind::Check, .reach = 0, .from = 0, .to = 100, .worst = 0.012});
    p.checks.turnouts.push_back({.reach = 1, .required = 100.5, .level = 100.4529, .met = false});
    p.checks.turnouts.push_back({.reach = 0, .required = 101, .level = 101.2, .met = true});
    EXPECT_EQ(CheckLines(TwoReaches(), p),
              (std::vector<std::string>{
                  "加大流量水位高出渠顶：一支渠 0+300 ～ 0+450.25，最大 0.031 m",
                  "加大流量安全超高不足：总干<1> 0+000 ～ 0+100，最小 0.012 m",
                  "一支渠 起点设计水位 100.453 m，要求 100.5 m：不满足",
                  "总干<1> 起点设计水位 101.2 m，要求 101 m：满足",
                  "校核不满足。",
              }));
}

}  // namespace
}  // namespace veltrane::views
