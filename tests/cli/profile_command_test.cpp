// SPDX-License-Identifier: GPL-3.0-or-later
// veltrane-calc profile: the canal file read column by column (English or
// Chinese headers, every bad row named), the options, and the output as a
// script reads it, against uniform and critical depths worked out here.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cli/profile_rows.h"
#include "tests/canal/independent_channel.h"
#include "tests/cli/cli_runner.h"

namespace veltrane::cli::test {
namespace {

using veltrane::canal::test::kU60;

constexpr std::string_view kHeader = "name,length,size,slope,roughness,discharge,bed,loss,level\n";

// U60's uniform depth for Q = 0.25, 1/500, n = 0.017 by bisection on
// Manning's formula with the test's own geometry.
double UniformDepth() {
    double low = 0.01, high = 1;
    for (int i = 0; i < 100; ++i) {
        const double h = (low + high) / 2;
        const double a = kU60.Area(h), r = a / kU60.Perimeter(h);
        (a * std::pow(r, 2.0 / 3.0) * std::sqrt(1.0 / 500) / 0.017 < 0.25 ? low : high) = h;
    }
    return low;
}

std::string Four(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.4f", std::fabs(v) < 5e-5 ? 0.0 : v);
    std::string s = b;
    // JSON's plain decimals drop trailing zeros.
    while (s.find('.') != std::string::npos && (s.back() == '0' || s.back() == '.')) {
        const bool point = s.back() == '.';
        s.pop_back();
        if (point) {
            break;
        }
    }
    return s;
}

// One reach at uniform flow, its two stations at the uniform depth: the
// whole JSON, every number from the test's own hydraulics, and the window's
// stepped depth as its report gives it (h = .516).
TEST(Profile, OneReachAtUniformFlowAsJson) {
    const std::string file = std::string(kHeader) + "一支渠,100,U60,500,0.017,0.25,,,\n";
    const Result r = Cli({"profile", "-", "--json"}, file);
    ASSERT_EQ(r.status, 0) << r.err;
    const double h = UniformDepth(), a = kU60.Area(h), v = 0.25 / a;
    const double fr = std::sqrt(kU60.FroudeSquared(0.25, h));
    double hc = 0.01, high = 1;
    for (int i = 0; i < 100; ++i) {
        const double m = (hc + high) / 2;
        (kU60.FroudeSquared(0.25, m) > 1 ? hc : high) = m;
    }
    const auto station = [&](double chainage) {
        const double bed = -chainage / 500;
        return "{\"reach\":\"一支渠\",\"chainage\":" + Four(chainage) + ",\"bed\":" + Four(bed) +
               ",\"depth\":" + Four(h) + ",\"level\":" + Four(bed + h) +
               ",\"velocity\":" + Four(v) + ",\"froude\":" + Four(fr) +
               ",\"energy\":" + Four(bed + h + v * v / (2 * 9.81)) +
               ",\"top\":" + Four(bed + 0.54) + ",\"freeboard\":" + Four(0.54 - h) +
               ",\"type\":\"N\"}";
    };
    const std::string design =
        "{\"kind\":\"design\",\"discharge\":0.25,\"reaches\":[{\"reach\":"
        "\"一支渠\",\"size\":\"U60\",\"discharge\":0.25,\"normal_depth\":" +
        Four(h) + ",\"stepped_depth\":0.516,\"critical_depth\":" + Four(hc) +
        ",\"regime\":\"mild\"}],\"stations\":[" + station(0) + "," + station(100) +
        "],\"jumps\":[]}";
    std::string check = design;
    check.replace(check.find("design"), 6, "check");
    EXPECT_EQ(r.out, "{\"factor\":1,\"flows\":[" + design + "," + check +
                         "],\"checks\":[],\"ok\":true}\n");
}

// A free overfall: critical depth at the brink, by Q²B = gA³ worked here.
TEST(Profile, AFreeOverfallEndsAtCriticalDepth) {
    const std::string file = std::string(kHeader) + "末段,500,U60,500,0.017,0.25,,,\n";
    const Result r = Cli({"profile", "-", "--csv", "--end", "critical"}, file);
    ASSERT_EQ(r.status, 0) << r.err;
    double hc = 0.01, high = 1;
    for (int i = 0; i < 100; ++i) {
        const double m = (hc + high) / 2;
        (kU60.FroudeSquared(0.25, m) > 1 ? hc : high) = m;
    }
    // The design flow's last row: flow,reach,chainage,bed,depth,…
    const std::size_t checkRows = r.out.find("\ncheck,");
    const std::size_t last = r.out.rfind("\ndesign,", checkRows - 1);
    const std::string row = r.out.substr(last + 1, r.out.find('\n', last + 1) - last - 1);
    char depth[32];
    std::snprintf(depth, sizeof depth, "%.4f", hc);
    std::size_t fifth = 0;
    for (int i = 0; i < 5; ++i) {
        fifth = row.find(',', fifth + 1);
    }
    EXPECT_EQ(row.substr(0, fifth), std::string("design,末段,500.0000,-1.0000,") + depth);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
              "flow,reach,chainage,bed,depth,level,velocity,froude,energy,top,freeboard,type");
}

TEST(Profile, ChineseHeadersReadAsEnglishOnes) {
    const std::string english =
        std::string(kHeader) +
        "上段,300,U80,1000,0.015,0.4,50,,\n下段,200,U60,500,0.015,0.3,,0.2,\n";
    const std::string chinese =
        "渠段名称,长度,断面,纵坡,糙率,设计流量,渠底高程,局部损失系数,要求水位\n"
        "上段,300,U80,1000,0.015,0.4,50,,\n下段,200,U60,500,0.015,0.3,,0.2,\n";
    const Result a = Cli({"profile", "-", "--json"}, english);
    const Result b = Cli({"profile", "-", "--json"}, chinese);
    EXPECT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    // Optional columns may be left out, and columns may come in any order.
    const Result c = Cli({"profile", "-", "--json"},
                         "discharge,roughness,slope,size,length,name,bed,loss\n"
                         "0.4,0.015,1000,U80,300,上段,50,\n0.3,0.015,500,U60,200,下段,,0.2\n");
    EXPECT_EQ(c.out, a.out);
}

// The program's and the page's reach tables take a file's cells as it
// writes them, by the columns' names, whatever their order.
TEST(Profile, TheReaderKeepsEachGoodRowsTexts) {
    const ProfileReading r = ReadProfileRows(
        "level,  Discharge ,roughness,slope,size,length,name\n"
        "10.40,0.4, 0.0125 ,1000,u80,300.0,\"上段,甲\"\n"
        ",0.3,0.015,500,U60,200,下段\n");
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.cells.size(), 2u);
    EXPECT_EQ(r.cells[0],
              (ProfileCells{"上段,甲", "300.0", "u80", "1000", "0.0125", "0.4", "", "", "10.40"}));
    EXPECT_EQ(r.cells[1], (ProfileCells{"下段", "200", "U60", "500", "0.015", "0.3", "", "", ""}));
    EXPECT_EQ(r.reaches[0].sizeName, "U80");  // the reach itself reads the size
}

// A reach table goes through the file's reader; its problems name the
// table's rows, also after a cell that holds a line break.
TEST(Profile, ATablesProblemsNameItsRows) {
    const std::vector<ProfileCells> rows = {
        {"上\n段", "300", "U80", "1000", "0.015", "0.4", "", "", ""},
        {"下段,\"乙\"", "0", "U70", "500", "0.015", "0.3", "", "", ""},
    };
    EXPECT_EQ(WriteProfileRows(rows),
              "name,length,size,slope,roughness,discharge,bed,loss,level\n"
              "\"上\n段\",300,U80,1000,0.015,0.4,,,\n"
              "\"下段,\"\"乙\"\"\",0,U70,500,0.015,0.3,,,\n");
    const ProfileReading r = ReadProfileTable(rows);
    ASSERT_EQ(r.problems.size(), 2u);
    EXPECT_EQ(views::ProfileProblemText(r.problems[0], views::Language::Chinese),
              "第 2 行“长度”：“0”须大于 0。");
    EXPECT_EQ(r.problems[1].line, 2u);
    EXPECT_EQ(r.reaches.size(), 1u);
    EXPECT_EQ(r.reaches[0].name, "上\n段");
}

// Every bad row and column is named, in the file's order, and nothing is
// computed.
TEST(Profile, EveryBadRowIsNamed) {
    const std::string file = std::string(kHeader) +
                             "甲,0,U60,500,0.017,0.25,,,\n"     // line 2: length 0
                             "乙,100,U70,abc,0.017,0.25,,,\n"   // line 3: size, slope
                             "丙,100,U60,500,0.017,,,-1,\n"     // line 4: discharge, loss
                             "丁,100,U60,500,0.017,0.25,5,,\n"  // line 5: fine, bed 5
                             "戊,100,U60,500,0.017,0.25,6,,\n"  // line 6: bed rises
                             "己,100,U60,500\n";                // line 7: fields
    const Result r = Cli({"profile", "-"}, file);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "veltrane-calc: line 2, length: '0' is not above 0\n"
              "veltrane-calc: line 3, size: unknown size 'U70' (U60, U80, U100, U120, U140)\n"
              "veltrane-calc: line 3, slope: 'abc' is not a number\n"
              "veltrane-calc: line 4, discharge: no value\n"
              "veltrane-calc: line 4, loss: '-1' is below 0\n"
              "veltrane-calc: line 6, bed: the bed 6 m lies above the end of the reach above, "
              "4.8 m; a bed may drop, never rise\n"
              "veltrane-calc: line 7: 4 fields, the header has 9\n");
}

// Values beyond what a profile computes are refused, named with the range.
TEST(Profile, ValuesOutsideTheComputedRange) {
    const std::string file =
        std::string(kHeader) + "甲,2000000,U60,0.5,2,99999,200000,101,-100001\n";
    const Result r = Cli({"profile", "-"}, file);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "veltrane-calc: line 2, length: '2000000' is outside 0 to 1000000\n"
              "veltrane-calc: line 2, slope: '0.5' is outside 1 to 10000000\n"
              "veltrane-calc: line 2, roughness: '2' is outside 0 to 1\n"
              "veltrane-calc: line 2, discharge: '99999' is outside 0 to 10000\n"
              "veltrane-calc: line 2, bed: '200000' is outside -100000 to 100000\n"
              "veltrane-calc: line 2, loss: '101' is outside 0 to 100\n"
              "veltrane-calc: line 2, level: '-100001' is outside -100000 to 100000\n");
}

TEST(Profile, FilesThatCannotBeACanal) {
    const struct {
        std::string file;
        const char* said;
    } cases[] = {
        {"",
         "the canal file is empty; its first row must name the columns "
         "name,length,size,slope,roughness,discharge (and bed, loss, level if given)"},
        {std::string(kHeader),
         "the canal file has no reach: add one row per reach under the header"},
        {"name,length,size,slope,roughness\n", "the canal file's header has no column 'discharge'"},
        {"name,长度,length,size,slope,roughness,discharge\n",
         "the canal file's header names the column 'length' twice"},
    };
    for (const auto& c : cases) {
        const Result r = Cli({"profile", "-"}, c.file);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "veltrane-calc: " + std::string(c.said) + "\n");
    }
}

TEST(Profile, OptionsThatCannotBeUsed) {
    const std::string file = std::string(kHeader) + "甲,100,U60,500,0.017,0.25,,,\n";
    const struct {
        std::vector<std::string_view> args;
        const char* said;
    } cases[] = {
        {{"profile", "-", "--factor", "2.5"}, "--factor takes k from 1 to 2, not '2.5'"},
        {{"profile", "-", "--end", "high"},
         "--end takes normal, critical or a water level in metres, not 'high'"},
        {{"profile", "-", "--spacing", "0"},
         "--spacing takes a distance in metres above 0, not '0'"},
        {{"profile", "-", "--spacing", "0.000001"},
         "--spacing 0.000001 makes more than 1000000 stations along 100 m; give a wider spacing"},
        {{"profile"}, "profile takes one FILE, the canal's reaches (\"-\" reads standard input)"},
        {{"profile", "-", "--max-velocity", "2"},
         "--max-velocity goes with fit, sheet and the design aids"},
        {{"fit", "0.25", "500", "0.017", "1", "--spacing", "10"},
         "--spacing goes with profile and sheet --batch"},
    };
    for (const auto& c : cases) {
        const Result r = Cli(c.args, file);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "veltrane-calc: " + std::string(c.said) + "\n" + std::string(kHelpHint));
    }
}

// Water above the top fails the run (exit 1) and says where; a raised end
// level makes it.
TEST(Profile, OvertoppingFailsTheRunAndSaysWhere) {
    const std::string file = std::string(kHeader) + "一支渠,1000,U60,500,0.017,0.25,0,,\n";
    const Result r = Cli({"profile", "-", "--end", "-1.4"}, file);  // 0.6 m deep at the end
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("the water overtops at design flow in 一支渠 from "), std::string::npos);
    EXPECT_TRUE(r.out.ends_with("to 1000.0000 m (by up to 0.0600 m)\na check fails\n")) << r.out;
}

// Names reach JSON and CSV as text: quotes, commas, line breaks, a formula.
TEST(Profile, HostileNamesStayText) {
    const std::string file =
        std::string(kHeader) + "\"=1+2,\"\"a\"\"\n\",100,U60,500,0.017,0.25,,,\n";
    const Result json = Cli({"profile", "-", "--json"}, file);
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"reach\":\"=1+2,\\\"a\\\"\\n\""), std::string::npos);
    const Result csv = Cli({"profile", "-", "--csv", "--bom"}, file);
    EXPECT_NE(csv.out.find("\ndesign,\"'=1+2,\"\"a\"\"\n\",0.0000,"), std::string::npos);
    const Result plain = Cli({"profile", "-", "--csv"}, file);
    EXPECT_NE(plain.out.find("\ndesign,\"=1+2,\"\"a\"\"\n\",0.0000,"), std::string::npos);
}

// A name or a cell with a terminal's escape sequence, a DEL or a C1 control
// is shown on the terminal, not run: in the text table and in an error.
TEST(Profile, ControlCharactersNeverReachTheTerminal) {
    const std::string name =
        "\x1b[31m红\x7f\xc2\x9b"
        "2J";
    const Result text =
        Cli({"profile", "-"}, std::string(kHeader) + name + ",100,U60,500,0.017,0.25,,,\n");
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.find_first_of("\x1b\x7f"), std::string::npos);
    EXPECT_EQ(text.out.find("\xc2\x9b"), std::string::npos);
    EXPECT_NE(text.out.find("\xEF\xBF\xBD[31m红\xEF\xBF\xBD\xEF\xBF\xBD"
                            "2J"),
              std::string::npos);
    const Result error =
        Cli({"profile", "-"}, std::string(kHeader) + "a,\x1b]0;x\x07,U60,500,0.017,0.25,,,\n");
    EXPECT_EQ(error.status, 2);
    EXPECT_EQ(error.err,
              "veltrane-calc: line 2, length: '\xEF\xBF\xBD]0;x\xEF\xBF\xBD' is not a number\n");
}

}  // namespace
}  // namespace veltrane::cli::test

namespace veltrane::cli::test {
namespace {

// A canal file with the profile's columns gives its sheet a chapter on the
// water surface after the reaches, with the largest k of the rows; without
// them, none.
TEST(ProfileChapter, ACanalSheetWithTheProfilesColumnsAddsTheChapter) {
    const std::string canal =
        "name,size,discharge,slope,roughness,factor,length,bed\n"
        "一支渠,U80,0.4,1000,0.015,1.2,300,50\n"
        "二支渠,U60,0.25,500,0.017,1.1,200,\n";
    const Result with = Cli({"sheet", "--batch", "-", "--date", "d", "--html", "-"}, canal);
    ASSERT_EQ(with.status, 0) << with.err;
    EXPECT_NE(with.out.find("<h1>水面线推求</h1>"), std::string::npos);
    EXPECT_NE(with.out.find("各渠段加大系数不同，水面线按其中最大者 k = 1.2 计算。"),
              std::string::npos);
    EXPECT_NE(with.out.find("加大流量 kQ（k = 1.2）"), std::string::npos);
    EXPECT_LT(with.out.find("二支渠"), with.out.find("<h1>水面线推求</h1>"));

    const std::string plain =
        "name,size,discharge,slope,roughness,factor\n"
        "一支渠,U80,0.4,1000,0.015,1.2\n";
    const Result without = Cli({"sheet", "--batch", "-", "--date", "d", "--html", "-"}, plain);
    ASSERT_EQ(without.status, 0) << without.err;
    EXPECT_EQ(without.out.find("水面线推求"), std::string::npos);

    const Result bad = Cli({"sheet", "--batch", "-", "--html", "-"},
                           "name,size,discharge,slope,roughness,factor,length\n"
                           "一支渠,U80,0.4,1000,0.015,1.2,abc\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "veltrane-calc: line 2, length: 'abc' is not a number\n");
    EXPECT_EQ(bad.out, "");
}

}  // namespace
}  // namespace veltrane::cli::test
