// SPDX-License-Identifier: GPL-3.0-or-later
// capacity, solve-slope and select-table as a script reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/cli/cli_runner.h"

namespace veltrane::cli {
namespace {

using test::Cli;
using test::Result;

TEST(CapacityCommand, TextAndJson) {
    const Result text = Cli({"capacity", "U60", "500", "0.017", "1.0"});
    EXPECT_EQ(text.status, 0);
    ASSERT_EQ(text.out.rfind("largest design discharge: .267", 0), 0u) << text.out;
    EXPECT_NE(text.out.find("\ndesign depth: .539 m\ncheck depth: .539 m\n"), std::string::npos);
    const Result json = Cli({"--json", "capacity", "U60", "500", "0.017", "1.0"});
    EXPECT_EQ(json.out.rfind("{\"size\":\"U60\",\"inputs\":{\"slope\":500,\"roughness\":0.017,"
                             "\"factor\":1},\"criteria\":{},\"discharge\":0.267",
                             0),
              0u)
        << json.out;
    EXPECT_NE(json.out.find(",\"design_depth\":0.5"), std::string::npos);
    EXPECT_NE(json.out.find(",\"check_depth\":0.5"), std::string::npos);
}

// 0.2677 m3/s is the largest discharge U60 carries at 1/500: a single run
// with it gives a report with h = h1 = .539 m, and one with 0.2678 message 5.
TEST(CapacityCommand, TheTextLinesWithTheirUnits) {
    const Result at = Cli({"U60", "0.2677", "500", "0.017", "1"});
    EXPECT_EQ(at.status, 0);
    EXPECT_NE(at.out.find("设计水深：h = .539\n\n校核水深：h1= .539\n"), std::string::npos)
        << at.out;
    const Result above = Cli({"U60", "0.2678", "500", "0.017", "1"});
    EXPECT_EQ(above.status, 1);
    EXPECT_EQ(above.err, "设计水深已大于渠深,请选用其他U形渠道构件。\n");

    const Result r = Cli({"capacity", "U60", "500", "0.017", "1"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "largest design discharge: .2677 m3/s\n"
              "design depth: .539 m\n"
              "check depth: .539 m\n");
    EXPECT_EQ(r.err, "");
}

// Where the search stops, the answer says so, and JSON says it by a flag.
TEST(CapacityCommand, TheSearchsLimitIsSaid) {
    const Result r = Cli({"capacity", "U60", "10", "1e-20", "1"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "largest design discharge: at least 100000000000000 m3/s (the search stops there; "
              "larger ones were not tried)\n"
              "design depth: .005 m\n"
              "check depth: .005 m\n");
    const Result json = Cli({"capacity", "U60", "10", "1e-20", "1", "--json"});
    EXPECT_NE(json.out.find(",\"discharge\":100000000000000,\"at_search_limit\":true,"), std::string::npos)
        << json.out;
    const Result below = Cli({"capacity", "U60", "500", "0.017", "1", "--json"});
    EXPECT_NE(below.out.find(",\"discharge\":0.2677,\"at_search_limit\":false,"), std::string::npos)
        << below.out;
}

TEST(CapacityCommand, NoneServes) {
    const Result r =
        Cli({"capacity", "U60", "5000", "0.017", "1", "--min-velocity", "3", "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\"criteria\":{\"min_velocity\":3},\"discharge\":null,\"reason\":"),
              std::string::npos)
        << r.out;
}

TEST(SolveSlopeCommand, NoSlopeGivesNullsAndTheReason) {
    const Result r = Cli({"solve-slope", "U60", "5", "0.017", "1", "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "{\"size\":\"U60\",\"inputs\":{\"discharge\":5,\"roughness\":0.017,\"factor\":1},"
              "\"criteria\":{},\"steepest\":null,\"flattest\":null,\"reason\":\"even at 1/10 "
              "the design depth exceeds H = 0.54 m\"}\n");
}

TEST(SolveSlopeCommand, ReportsAtBothEnds) {
    const Result r = Cli({"solve-slope", "U60", "0.25", "0.017", "1.0", "--max-velocity", "1"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("steepest slope: 1/", 0), 0u);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2 + 2 * (2 + 18));
    const Result j = Cli({"solve-slope", "U60", "0.25", "0.017", "1.0", "--json"});
    EXPECT_NE(j.out.find("\"steepest\":10,\"flattest\":"), std::string::npos) << j.out;
}

TEST(SelectTableCommand, CsvShape) {
    const Result r =
        Cli({"select-table", "0.017", "1.0", "--slopes", "300,500,1000,2000,3000,5000", "--csv"});
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.out.rfind("slope,U60,U80,U100,U120,U140\n300,", 0), 0u);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 7);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), ','), 7 * 5);
}

TEST(SelectTableCommand, UsageErrors) {
    for (std::string_view slopes : {"", "0", "1,,2", "abc", "300;500", "2000000"}) {
        const Result r = Cli({"select-table", "0.017", "1", "--slopes", slopes});
        EXPECT_EQ(r.status, 2) << slopes;
    }
    std::string many = "1";
    for (int i = 2; i <= 51; ++i) {
        many += "," + std::to_string(i);
    }
    EXPECT_EQ(Cli({"select-table", "0.017", "1", "--slopes", many}).status, 2);
    EXPECT_EQ(Cli({"select-table", "0.017", "1"}).status, 2);
    EXPECT_EQ(Cli({"capacity", "U60", "500", "0.017", "1", "--step", "1"}).status, 2);
}

}  // namespace
}  // namespace veltrane::cli
