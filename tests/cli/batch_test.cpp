// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/cli/cli_runner.h"

namespace veltrane::cli {
namespace {

using test::Result;

constexpr std::string_view kHeader =
    "size,discharge,slope,roughness,factor,status,check_discharge,design_depth,check_depth,"
    "velocity,surface_width,area,wetted_perimeter,hydraulic_radius,chezy,message\n";

Result Batch(std::string_view csv) {
    return test::Cli({"--batch", "-"}, std::string(csv));
}

TEST(Batch, OneRowPerInputRowInOrder) {
    const Result r = Batch(
        "size,discharge,slope,roughness,factor\n"
        "U60,0.25,500,0.017,1.0\n"
        "U60,0.3,500,0.017,1.0\n"
        "D80,0.4,500,0.017,1\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, std::string(kHeader) +
                         "U60,0.25,500,0.017,1.0,report,.25,.516,.516,.904,.657,.277,1.376,.201,"
                         "45.034,\n"
                         "U60,0.3,500,0.017,1.0,message,,,,,,,,,,\"设计水深已大于渠深,请选用其他U形"
                         "渠道构件。\"\n"
                         "D80,0.4,500,0.017,1,report,.4,.567,.567,1.029,.8545,.3895,1.5926,.2445,"
                         "46.5165,\n");
}

TEST(Batch, ColumnsInAnyOrderWithBomAndCrLf) {
    const Result r = Batch(
        "\xEF\xBB\xBF"
        "factor,Roughness, slope ,size,discharge,note\r\n"
        "1.0,0.017,500,u60,0.25,first\r\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string(kHeader) +
                         "u60,0.25,500,0.017,1.0,report,.25,.516,.516,.904,.657,.277,1.376,.201,"
                         "45.034,\n");
}

TEST(Batch, QuotedFieldsAreReadAndEchoed) {
    const Result r = Batch(
        "size,discharge,slope,roughness,factor\n"
        "\"U60\",\"0,25\",\"5\"\"00\",0.017,\"1\n.0\"\n");
    EXPECT_EQ(r.status, 0);
    // "0,25" reads 0; the quoted line feed inside the factor is skipped.
    EXPECT_EQ(r.out,
              std::string(kHeader) +
                  "U60,\"0,25\",\"5\"\"00\",0.017,\"1\n.0\",message,,,,,,,,,,设计流量不能为0或"
                  "负数，请重新输入\n");
}

TEST(Batch, BadRowsGiveErrorRowsAndTheRestGoesOn) {
    const Result r = Batch(
        "size,discharge,slope,roughness,factor\n"
        "U70,0.25,500,0.017,1.0\n"
        "U60,0.25,500\n"
        "\n"
        "U60,0.25,500,0.017,1.0,extra\n"
        "U60,1e-310,500,0.017,1\n"
        "U60,0.25,500,0.017,\"1.0\n"
        "U60,0.25,500,0.017,1.0\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              std::string(kHeader) +
                  "U70,0.25,500,0.017,1.0,error,,,,,,,,,,line 2: unknown size 'U70'\n"
                  "U60,0.25,500,,,error,,,,,,,,,,\"line 3: 3 fields, the header has 5\"\n"
                  "U60,0.25,500,0.017,1.0,error,,,,,,,,,,\"line 5: 6 fields, the header has "
                  "5\"\n"
                  "U60,1e-310,500,0.017,1,report,0,.002,.002,.02,.049,0,.049,.001,17.384,\n"
                  "U60,0.25,500,0.017,1.0,error,,,,,,,,,,line 7: a quoted field is not closed\n"
                  "U60,0.25,500,0.017,1.0,report,.25,.516,.516,.904,.657,.277,1.376,.201,"
                  "45.034,\n");
}

// The --bom file is for spreadsheets: an echoed cell that would run as a
// formula is neutralised there, and only there.
TEST(Batch, ASpreadsheetsFileRunsNoEchoedFormula) {
    const std::string csv =
        "size,discharge,slope,roughness,factor\n=HYPERLINK(\"http://x\"),-5,500,0.017,1.0\n";
    const Result sheet = test::Cli({"--batch", "-", "--bom"}, csv);
    EXPECT_EQ(sheet.status, 0);
    EXPECT_NE(sheet.out.find("\n\"'=HYPERLINK(\"\"http://x\"\")\",-5,500,0.017,1.0,error,"),
              std::string::npos)
        << sheet.out;
    const Result script = test::Cli({"--batch", "-"}, csv);
    EXPECT_NE(script.out.find("\n\"=HYPERLINK(\"\"http://x\"\")\",-5,500,0.017,1.0,error,"),
              std::string::npos)
        << script.out;
}

TEST(Batch, MissingColumnStopsBeforeAnyOutput) {
    const Result r = Batch("size,discharge,slope,factor\nU60,0.25,500,1\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "veltrane-calc: the batch header has no column 'roughness'\n");
}

TEST(Batch, DuplicateColumnAndEmptyFile) {
    EXPECT_EQ(Batch("size,size,discharge,slope,roughness,factor\n").status, 2);
    EXPECT_EQ(Batch("").status, 2);
    EXPECT_EQ(Batch("\xEF\xBB\xBF").status, 2);
}

TEST(Batch, HeaderOnlyGivesHeaderOnly) {
    const Result r = Batch("size,discharge,slope,roughness,factor");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kHeader);
}

TEST(Batch, ManyRowsStayInOrder) {
    std::string csv = "size,discharge,slope,roughness,factor\n";
    for (int i = 1; i <= 2000; ++i) {
        csv += "U140," + std::to_string(i % 3 == 0 ? 9 : 1) + ",500,0.017,1\n";
    }
    const Result r = Batch(csv);
    std::istringstream lines(r.out);
    std::string line;
    std::getline(lines, line);
    int row = 0;
    while (std::getline(lines, line)) {
        ++row;
        const bool message = line.find(",message,") != std::string::npos;
        EXPECT_EQ(message, row % 3 == 0) << row;
    }
    EXPECT_EQ(row, 2000);
}

}  // namespace
}  // namespace veltrane::cli
