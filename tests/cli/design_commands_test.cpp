// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/cli/cli_runner.h"

namespace veltrane::cli {
namespace {

using test::Cli;
using test::Result;

TEST(Fit, TextNamesTheSmallestSection) {
    const Result r = Cli({"fit", "0.25", "500", "0.017", "1.2"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "size  design    check     freeboard velocity  froude    status\n"
              "U60   -         -         -         -         -         check depth above the "
              "channel depth\n"
              "U80   .426      .475      .165      .923      .506      fits\n"
              "U100  .38       .42       .33       .917      .549      fits\n"
              "U120  .354      .388      .512      .905      .567      fits\n"
              "U140  .335      .367      .683      .891      .58       fits\n"
              "smallest section that carries both discharges: U80\n");
}

// With criteria, the smallest section named is one that also meets them.
TEST(Fit, WithCriteriaTheAnswerSaysTheyAreMet) {
    const Result r = Cli({"fit", "0.25", "500", "0.017", "1.2", "--min-freeboard", "0.2"});
    EXPECT_EQ(r.status, 0);
    const std::string tail =
        "smallest section that carries both discharges and meets the "
        "criteria: U100\n";
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail) << r.out;
    const Result none = Cli({"fit", "0.25", "500", "0.017", "1.2", "--min-freeboard", "5"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out.substr(none.out.rfind("no standard")),
              "no standard section carries both discharges and meets the criteria\n");
}

TEST(Fit, NoneFitsExitsWithOne) {
    const Result r = Cli({"fit", "9", "500", "0.017", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("no standard section carries both discharges\n"), std::string::npos);
}

TEST(Fit, RejectedInputIsTheSingleCalculationsMessage) {
    const Result r = Cli({"fit", "0.25", "-5", "0.017", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "设计纵坡不能为负数或0，请重新输入\n");
    const Result j = Cli({"fit", "0.25", "500", "0", "1", "--json"});
    EXPECT_EQ(j.status, 1);
    EXPECT_EQ(j.out,
              "{\"inputs\":{\"discharge\":0.25,\"slope\":500,\"roughness\":0,\"factor\":1},"
              "\"status\":\"message\",\"message\":\"糙率不能为0或负数，请重新输入。\",\"box\":"
              "\"text6\"}\n");
}

// A roughness of 1e-310 makes 1/n infinite: every section would print
// infinities, so fit says what a single calculation says.
TEST(Fit, ResultsPastTheDoubleRangeGiveMessage7) {
    const Result r = Cli({"fit", "0.25", "500", "1e-310", "1.2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "输入数值超出计算范围，请重新输入\n");
}

TEST(Fit, CsvWithAByteOrderMark) {
    const Result r = Cli({"fit", "0.4", "500", "0.017", "1.1", "--csv", "--bom"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, 15), "\xEF\xBB\xBFsize,status,");
    EXPECT_EQ(r.out.substr(3), Cli({"fit", "0.4", "500", "0.017", "1.1", "--csv"}).out);
}

TEST(Fit, Csv) {
    const Result r = Cli({"fit", "0.4", "500", "0.017", "1.1", "--csv"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "size,status,design_depth,check_depth,freeboard,velocity,froude,message\n"
              "U60,design_above,,,,,,\"设计水深已大于渠深,请选用其他U形渠道构件。\"\n"
              "U80,fits,.567,.602,.038,1.029,.484,\n"
              "U100,fits,.494,.522,.228,1.038,.533,\n"
              "U120,fits,.452,.476,.424,1.031,.566,\n"
              "U140,fits,.425,.446,.604,1.019,.584,\n");
}

TEST(Fit, JsonShape) {
    const Result r = Cli({"fit", "0.4", "500", "0.017", "1.1", "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("{\"inputs\":{\"discharge\":0.4,", 0), 0u);
    EXPECT_NE(r.out.find("{\"size\":\"U60\",\"status\":\"design_above\",\"message\":"),
              std::string::npos);
    EXPECT_NE(r.out.find("{\"size\":\"U80\",\"status\":\"fits\",\"design_depth\":0.567"),
              std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.size() - 20), "],\"smallest\":\"U80\"}\n");
}

TEST(Fit, UsageErrors) {
    for (auto args :
         std::vector<std::vector<std::string_view>>{{"fit", "1", "2", "3"},
                                                    {"fit", "1", "2", "3", "4", "--json", "--csv"},
                                                    {"fit", "1", "2", "3", "4", "--step", "1"},
                                                    {"fit", "1", "2", "3", "4", "--force"}}) {
        const Result r = Cli(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(test::IsUsageError(r.err)) << r.err;
    }
}

TEST(Table, LastRowIsTheChannelDepth) {
    const Result r = Cli({"table", "U60", "500", "0.017", "--step", "0.25", "--csv"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "depth,area,wetted_perimeter,hydraulic_radius,chezy,surface_width,discharge,"
              "velocity,froude\n"
              ".25,.112,.842,.132,41.997,.592,.0762,.683,.503\n"
              ".5,.267,1.346,.199,44.93,.654,.2393,.895,.447\n"
              ".54,.294,1.426,.206,45.199,.663,.2692,.917,.44\n");
}

TEST(Table, DefaultStepAndJson) {
    const Result text = Cli({"table", "d140", "500", "0.017"});
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 1 + 105);
    const Result j = Cli({"table", "U140", "500", "0.017", "--json", "--step", "1"});
    EXPECT_EQ(j.status, 0);
    EXPECT_EQ(j.out.rfind("{\"size\":\"U140\",\"inputs\":{\"slope\":500,\"roughness\":0.017},"
                          "\"step\":1,\"rows\":[{\"depth\":1,\"area\":",
                          0),
              0u);
    EXPECT_NE(j.out.find("},{\"depth\":1.05,"), std::string::npos);
}

TEST(Table, MessagesAndUsageErrors) {
    EXPECT_EQ(Cli({"table", "U60", "500", "abc"}).err, "糙率不能为0或负数，请重新输入。\n");
    EXPECT_EQ(Cli({"table", "U60", "-1", "0.017"}).err, "设计纵坡不能为负数或0，请重新输入\n");
    EXPECT_EQ(Cli({"table", "U60", "1e999", "0.017"}).status, 1);
    for (std::string_view step :
         {"0", "-0.1", "0.55", "abc", "nan", "inf", "0.1x", "", "1e-12", "1e-320", "0.00009"}) {
        const Result r = Cli({"table", "U60", "500", "0.017", "--step", step});
        EXPECT_EQ(r.status, 2) << step;
        EXPECT_NE(r.err.find("--step takes a depth"), std::string::npos) << step;
    }
    EXPECT_EQ(Cli({"table", "U61", "500", "0.017"}).status, 2);
    EXPECT_EQ(Cli({"table", "U60", "500"}).status, 2);
}

TEST(Table, ResultsPastTheDoubleRangeGiveMessage7) {
    for (std::string_view format : {"--csv", "--json", "--step"}) {
        std::vector<std::string_view> args = {"table", "U60", "500", "1e-310", format};
        if (format == "--step") {
            args.push_back("0.1");
        }
        const Result r = Cli(args);
        EXPECT_EQ(r.status, 1) << format;
        EXPECT_EQ(r.out.find("nfinity"), std::string::npos) << format;
        EXPECT_EQ(r.out.find("nan"), std::string::npos) << format;
    }
    EXPECT_EQ(Cli({"table", "U60", "500", "1e-310"}).err, "输入数值超出计算范围，请重新输入\n");
}

// The smallest step bounds the table: 5,401 rows for U60.
TEST(Table, SmallestStep) {
    const Result r = Cli({"table", "U60", "500", "0.017", "--step", "0.0001", "--csv", "--bom"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("\xEF\xBB\xBF"
                          "depth,",
                          0),
              0u);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + 5400);
}

TEST(SingleJson, CarriesHydraulicExtras) {
    const Result r = Cli({"--json", "U60", "0.25", "500", "0.017", "1.0"});
    EXPECT_NE(r.out.find("\"extras\":{\"froude\":0.4422201876230"), std::string::npos);
    EXPECT_NE(r.out.find("\"regime\":\"subcritical\",\"critical_depth\":0.3261"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"capacity\":0.2684597"), std::string::npos);
    // Text mode is unchanged by any of it.
    const Result text = Cli({"U60", "0.25", "500", "0.017", "1.0"});
    EXPECT_EQ(text.out.find("froude"), std::string::npos);
}

TEST(SingleJson, CriticalDepthAboveTheChannelIsNull) {
    const Result r = Cli({"--json", "U60", "0.26", "20", "0.017", "1.0"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\"regime\":\"supercritical\",\"critical_depth\":"), std::string::npos);
}

}  // namespace
}  // namespace veltrane::cli
