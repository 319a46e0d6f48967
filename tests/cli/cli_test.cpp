// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/cli/cli_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <sstream>
#include <string>

namespace veltrane::cli {
namespace {

using test::Cli;
using test::Result;

constexpr std::string_view kU60Report =
    "显示计算成果： U60形渠道构件。 \n校核流量：Q = .25\n\n设计水深：h = .516\n\n"
    "校核水深：h1= .516\n\n流    速：V = .904\n\n水面宽度：b = .657\n\n过水面积：A = .277\n\n"
    "湿    周：X = 1.376\n\n水力半径：R = .201\n\n谢才系数：C = 45.034\n";

TEST(Cli, ReportGoesToStdoutAsLines) {
    const Result r = Cli({"U60", "0.25", "500", "0.017", "1.0"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kU60Report);
    EXPECT_EQ(r.err, "");
}

TEST(Cli, SizeIsCaseInsensitiveAndAcceptsTheDNames) {
    for (std::string_view size : {"u60", "D60", "d60"}) {
        EXPECT_EQ(Cli({size, "0.25", "500", "0.017", "1.0"}).out, kU60Report) << size;
    }
}

TEST(Cli, MessageGoesToStderrAlone) {
    const Result r = Cli({"U60", "0.3", "500", "0.017", "1.0"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "设计水深已大于渠深,请选用其他U形渠道构件。\n");
}

TEST(Cli, NumbersWithASignAndEmptyTextsAreValues) {
    EXPECT_EQ(Cli({"U60", "0.25", "-5", "0.017", "1.0"}).err,
              "设计纵坡不能为负数或0，请重新输入\n");
    EXPECT_EQ(Cli({"U60", "", "500", "0.017", "1.0"}).err, "设计流量不能为0或负数，请重新输入\n");
    EXPECT_EQ(Cli({"U60", "0.25", "-", "0.017", "1.0"}).err, "设计纵坡不能为负数或0，请重新输入\n");
}

// After "--" every argument is a value, even one spelt like an option.
TEST(Cli, DoubleDashEndsTheOptions) {
    EXPECT_EQ(Cli({"--", "U60", "0.25", "500", "--json", "1.0"}).err,
              "糙率不能为0或负数，请重新输入。\n");
    const Result r = Cli({"U60", "0.25", "500", "--", "-abc", "1.0"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "糙率不能为0或负数，请重新输入。\n");
}

// Options stand in the same place for every command: before, between or
// after the values.
TEST(Cli, OptionsMayStandAnywhere) {
    const std::string json = Cli({"--json", "U60", "0.25", "500", "0.017", "1.0"}).out;
    ASSERT_EQ(json.rfind("{\"size\":\"U60\"", 0), 0u);
    EXPECT_EQ(Cli({"U60", "0.25", "500", "0.017", "1.0", "--json"}).out, json);
    EXPECT_EQ(Cli({"U60", "0.25", "--json", "500", "0.017", "1.0"}).out, json);
    const std::string fit = Cli({"fit", "0.25", "500", "0.017", "1.2", "--csv"}).out;
    ASSERT_EQ(fit.rfind("size,status,", 0), 0u);
    EXPECT_EQ(Cli({"--csv", "fit", "0.25", "500", "0.017", "1.2"}).out, fit);
    const std::string table = Cli({"table", "U60", "500", "0.017", "--step", "0.25"}).out;
    EXPECT_EQ(Cli({"--step", "0.25", "table", "U60", "500", "0.017"}).out, table);
    EXPECT_EQ(Cli({"-h"}).out, Cli({"--help"}).out);
}

struct UsageCase {
    const char* name;
    std::vector<std::string_view> args;
};

void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << c.name;
}

class CliUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsage, IsAUsageError) {
    const Result r = Cli(GetParam().args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(test::IsUsageError(r.err)) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Args, CliUsage,
    ::testing::Values(UsageCase{"Nothing", {}},
                      UsageCase{"UnknownSize", {"U70", "1", "2", "3", "4"}},
                      UsageCase{"TooFewValues", {"U60", "0.25", "500", "0.017"}},
                      UsageCase{"TooManyValues", {"U60", "0.25", "500", "0.017", "1", "1"}},
                      UsageCase{"UnknownOption", {"--xml", "U60", "0.25", "500", "0.017", "1"}},
                      UsageCase{"BatchWithoutFile", {"--batch"}},
                      UsageCase{"BatchWithJson", {"--json", "--batch", "-"}},
                      UsageCase{"SvgWithoutFile", {"U60", "0.25", "500", "0.017", "1", "--svg"}},
                      UsageCase{"CsvForASingleRun", {"--csv", "U60", "0.25", "500", "0.017", "1"}},
                      UsageCase{"StepForFit", {"fit", "0.25", "500", "0.017", "1", "--step", "1"}},
                      UsageCase{"BomWithoutCsv", {"--bom", "fit", "0.25", "500", "0.017", "1"}},
                      UsageCase{"SingleDashWord", {"U60", "0.25", "500", "-abc", "1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cli, HelpAndVersion) {
    const Result help = Cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: veltrane-calc [--json] [--svg FILE] [--dxf FILE] [--force]\n", 0), 0u);
    const Result version = Cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("veltrane-calc 1.", 0), 0u);
}

TEST(CliJson, Report) {
    const Result r = Cli({"--json", "U60", "0.25", "500", "0.017", "1.0"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(
        r.out,
        "{\"size\":\"U60\",\"inputs\":{\"discharge\":0.25,\"slope\":500,\"roughness\":0.017,"
        "\"factor\":1},\"status\":\"report\",\"report\":\"显示计算成果： U60形渠道构件。 "
        "\\r\\n校核流量：Q = .25\\r\\n\\r\\n设计水深：h = .516\\r\\n\\r\\n校核水深：h1= "
        ".516\\r\\n\\r\\n流    速：V = .904\\r\\n\\r\\n水面宽度：b = .657\\r\\n\\r\\n过水面积："
        "A = .277\\r\\n\\r\\n湿    周：X = 1.376\\r\\n\\r\\n水力半径：R = .201\\r\\n\\r\\n谢才系"
        "数：C = 45.034\",\"check_discharge\":0.25,\"design\":{\"depth\":0.5160000000000003,"
        "\"velocity\":0.9037170540823322,\"surface_width\":0.6573032564867026,\"area\":0."
        "2770711894366503,\"wetted_perimeter\":1.3760739291062793,\"hydraulic_radius\":0."
        "20134905805286213,\"chezy\":45.03422351538237},\"check\":{\"depth\":0."
        "5160000000000003},\"extras\":{\"froude\":0.4422201876230343,\"regime\":"
        "\"subcritical\",\"critical_depth\":0.32612168312072753,\"freeboard\":0."
        "023999999999999688,\"capacity\":0.268459767575328}}\n");
}

TEST(CliJson, MessageKeepsTheReadInputs) {
    const Result r = Cli({"--json", "u100", "2 50", "&HFFFF", "1e400", "1,5"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "{\"size\":\"U100\",\"inputs\":{\"discharge\":250,\"slope\":-1,\"roughness\":null,"
              "\"factor\":1},\"status\":\"message\",\"message\":\"输入数值超出计算范围，请重新输入"
              "\",\"box\":\"text6\"}\n");
}

TEST(CliJson, DepthMessageNamesTheDischargeBox) {
    const Result r = Cli({"--json", "U60", "0.25", "500", "0.017", "1.2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(
        r.out.find("\"message\":\"校核水深已大于渠深,请选用其他U形渠道构件。\",\"box\":\"Text2\"}"),
        std::string::npos);
}

// The real program, for what only a process shows: exit statuses and streams.
#ifdef VELTRANE_CALC
int RunProcess(const std::string& args) {
    const std::string command = std::string(VELTRANE_CALC) + " " + args + " >/dev/null 2>&1";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(CliProcess, ExitStatuses) {
    EXPECT_EQ(RunProcess("U60 0.25 500 0.017 1.0"), 0);
    EXPECT_EQ(RunProcess("U60 0.3 500 0.017 1.0"), 1);
    EXPECT_EQ(RunProcess("U61 0.3 500 0.017 1.0"), 2);
    EXPECT_EQ(RunProcess("--batch /nonexistent/file.csv"), 2);
    EXPECT_EQ(RunProcess("--batch - </dev/null"), 2);
    EXPECT_EQ(RunProcess("--help"), 0);
}
#endif

}  // namespace
}  // namespace veltrane::cli
