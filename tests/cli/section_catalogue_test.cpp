// SPDX-License-Identifier: GPL-3.0-or-later
// The user's section catalogue: the file, the one-off SIZE, and every
// command that takes a section.
#include "cli/section_catalogue_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"
#include "tests/cli/process.h"

namespace veltrane::cli {
namespace {

using test::Cli;
using test::Result;
using views::Language;

std::vector<std::string> Said(const CatalogueReading& r, Language language) {
    std::vector<std::string> out;
    for (const views::SectionProblem& p : r.problems) {
        out.push_back(views::SectionProblemText(p, language));
    }
    return out;
}

TEST(SectionCatalogueFile, GoodRowsJoinTheStandardFive) {
    const CatalogueReading r = ReadSectionCatalogue(
        "\xEF\xBB\xBF"
        "Name,R,Alpha,H,Thickness,Top\r\n"
        "U50,0.25,6,0.45,3.5,\r\n"
        "\r\n"
        "\"现浇U形渠, 甲\", 0.45 ,8,0.6\r\n");
    EXPECT_EQ(Said(r, Language::English), std::vector<std::string>{});
    ASSERT_EQ(r.sections.userCount(), 2u);
    const SectionRef u50 = r.sections.Find("u50");
    ASSERT_NE(u50, nullptr);
    EXPECT_EQ(u50->radius, 0.25);
    EXPECT_EQ(u50->dimensions.slabCm, "3.5");
    const SectionRef cast = r.sections.Find("现浇U形渠, 甲");
    ASSERT_NE(cast, nullptr);
    EXPECT_EQ(cast->channelDepth, 0.6);
    EXPECT_EQ(cast->dimensions.slabCm, "");
}

// Each bad row by its line (a quoted line break counts) and its name.
TEST(SectionCatalogueFile, EveryBadRowIsNamed) {
    const CatalogueReading r = ReadSectionCatalogue(
        "name,r,alpha,H,thickness,top\n"  // 1
        "\"two\nlines\",0.3,5,0.5\n"      // 2–3
        "\"甲,乙\",0.3,5,0.5\n"           // 4
        "U90,0,8,0.64\n"                  // 5
        "U91,0.4,45,0.64,,\n"
        "U92,0.4,8,0.3\n"
        "U93,abc,8,1e1\n"
        "U94,,8,0.64\n"
        "U96,0.3\n"  // 10
        "u80,0.4,8,0.64\n"
        "\"甲,乙\",0.4,8,0.64\n"
        "U95,0.4,8,0.64,0,-1\n"
        ",0.4,8,0.64,1,2,3\n");  // 14
    EXPECT_EQ(Said(r, Language::English),
              (std::vector<std::string>{
                  "line 2 (two\xEF\xBF\xBDlines): the name holds a control character or is not "
                  "UTF-8",
                  "line 5 (U90): r must be above 0 and at most 100 m",
                  "line 6 (U91): alpha must be at least 0 and below 45 degrees",
                  "line 7 (U92): H must lie above the tangent depth r(1 - sin alpha) and be at "
                  "most 100 m",
                  "line 8 (U93): r \"abc\" is not a plain decimal number",
                  "line 8 (U93): H \"1e1\" is not a plain decimal number",
                  "line 9 (U94): r is missing",
                  "line 10 (U96): expected 4 to 6 cells, found 2",
                  "line 11 (u80): the name is a standard size's (U60 … U140, D60 … D140)",
                  "line 12 (甲,乙): the name is line 4's too",
                  "line 13 (U95): thickness, when given, must be above 0 and at most 100 cm",
                  "line 13 (U95): top, when given, must be above 0 cm",
                  "line 14: expected 4 to 6 cells, found 7",
              }));
    EXPECT_EQ(r.sections.userCount(), 1u);  // 甲,乙 alone
    const std::vector<std::string> chinese = Said(r, Language::Chinese);
    EXPECT_EQ(chinese[1], "第 5 行（U90）：底弧半径 r 须大于 0 且不大于 100 m。");
    EXPECT_EQ(chinese[4], "第 8 行（U93）：底弧半径 r (m)“abc”不是普通的十进制数。");
    EXPECT_EQ(chinese[9], "第 12 行（甲,乙）：名称与第 4 行重复。");
}

// A repeat is named against the first row of its name, even a bad one, and
// never added; its other problems are said too.
TEST(SectionCatalogueFile, ARepeatOfABadRowIsNamed) {
    const CatalogueReading r = ReadSectionCatalogue(
        "name,r,alpha,H\nA1,0,8,0.64\nB,0.3,5,0.5\na1,0.3,5,0.5\nb,0.3,50,0.5\n");
    EXPECT_EQ(Said(r, Language::English),
              (std::vector<std::string>{
                  "line 2 (A1): r must be above 0 and at most 100 m",
                  "line 4 (a1): the name is line 2's too",
                  "line 5 (b): the name is line 3's too",
                  "line 5 (b): alpha must be at least 0 and below 45 degrees",
              }));
    EXPECT_EQ(r.sections.userCount(), 1u);
}

TEST(SectionCatalogueFile, FileProblems) {
    EXPECT_EQ(Said(ReadSectionCatalogue(""), Language::English),
              std::vector<std::string>{
                  "line 1: the first line must name the columns name,r,alpha,H,thickness,top"});
    EXPECT_EQ(Said(ReadSectionCatalogue("name,r,H,alpha\nU50,0.25,0.45,6\n"), Language::English),
              std::vector<std::string>{
                  "line 1: the first line must name the columns name,r,alpha,H,thickness,top"});
    EXPECT_EQ(Said(ReadSectionCatalogue("name,r,alpha,H\n\"U50,0.25,6,0.45\n"), Language::Chinese),
              std::vector<std::string>{"第 2 行：引号括起的单元格未闭合。"});
}

// A hostile name comes back as typed in the problem, cut at a whole
// character, and never becomes a row.
TEST(SectionCatalogueFile, HostileNamesAreCutAndRefused) {
    std::string longName;
    for (int i = 0; i < 30; ++i) {
        longName += "渠";  // three bytes each: 90 in all
    }
    const CatalogueReading r = ReadSectionCatalogue("name,r,alpha,H\n" + longName +
                                                    ",0.3,5,0.5\n\"a\x1b]0;x\x07\",0.3,5,0.5\n");
    std::string shown;
    for (int i = 0; i < 20; ++i) {
        shown += "渠";
    }
    EXPECT_EQ(
        Said(r, Language::English),
        (std::vector<std::string>{
            "line 2 (" + shown + "…): the name is longer than 60 bytes",
            "line 3 (a\xEF\xBF\xBD]0;x\xEF\xBF\xBD): the name holds a control character or is "
            "not UTF-8"}));
    EXPECT_EQ(r.sections.userCount(), 0u);
}

TEST(SectionCatalogueFile, TableRoundTripsThroughTheFile) {
    const std::vector<SectionCells> rows = {{"甲,\"乙\"", "0.45", "8", "0.6", "", "90"},
                                            {"U50", "0.25", "6.0", "0.450", "3.5", ""}};
    const std::string file = WriteSectionCatalogue(rows);
    EXPECT_EQ(file,
              "name,r,alpha,H,thickness,top\r\n"
              "\"甲,\"\"乙\"\"\",0.45,8,0.6,,90\r\n"
              "U50,0.25,6.0,0.450,3.5,\r\n");
    const CatalogueCells back = ReadSectionCells(file);
    EXPECT_EQ(back.rows, rows);
    EXPECT_EQ(back.lines, (std::vector<std::size_t>{2, 3}));
    const CatalogueReading table =
        ReadSectionTable({{"U50", "0.25", "6", "0.45", "", ""}, {"u50", "x", "6", "0.45", "", ""}});
    EXPECT_EQ(Said(table, Language::Chinese),
              (std::vector<std::string>{"第 2 行（u50）：名称与第 1 行重复。",
                                        "第 2 行（u50）：底弧半径 r (m)“x”不是普通的十进制数。"}));
}

TEST(SectionOperand, ReadsKeysInAnyOrderAndNamesTheSection) {
    const OperandReading a = ReadSectionOperand("U:r=0.45,alpha=8,H=0.6");
    ASSERT_TRUE(a.problems.empty());
    EXPECT_EQ(a.definition.name, "U(r=0.45,alpha=8,H=0.6)");
    EXPECT_EQ(a.definition.radius, 0.45);
    EXPECT_EQ(a.definition.alphaDeg, 8);
    EXPECT_EQ(a.definition.depth, 0.6);
    EXPECT_FALSE(a.definition.slabCm.has_value());
    const OperandReading b =
        ReadSectionOperand("u:H=0.6,top=95,name=渠1,thickness=5,R=0.45,ALPHA=8");
    ASSERT_TRUE(b.problems.empty());
    EXPECT_EQ(b.definition.name, "渠1");
    EXPECT_EQ(b.definition.slabCm, 5);
    EXPECT_EQ(b.definition.topCm, 95);
    EXPECT_TRUE(IsSectionOperand(" U:r=1"));
    EXPECT_FALSE(IsSectionOperand("U80"));
}

TEST(SectionOperand, SaysWhatIsWrong) {
    const auto said = [](std::string_view text) {
        std::vector<std::string> out;
        for (const views::SectionProblem& p : ReadSectionOperand(text).problems) {
            out.push_back(views::SectionProblemText(p, Language::English));
        }
        return out;
    };
    EXPECT_EQ(said("U:r=0.45,alpha=8"), std::vector<std::string>{"H is missing"});
    EXPECT_EQ(said("U:r=0.45,r=0.5,alpha=8,H=0.6"),
              std::vector<std::string>{
                  "unknown or repeated key \"r\"; the keys are name, r, alpha, H, thickness "
                  "and top"});
    EXPECT_EQ(said("U:r=0.45,alpha=8,H=0.6,depth"),
              std::vector<std::string>{
                  "unknown or repeated key \"depth\"; the keys are name, r, alpha, H, thickness "
                  "and top"});
    EXPECT_EQ(said("U:r=0.45,alpha=8,H=0.2"),
              std::vector<std::string>{"H must lie above the tangent depth r(1 - sin alpha) and be "
                                       "at most 100 m"});
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

class CatalogueCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ofstream(file_.string(), std::ios::binary) << "name,r,alpha,H,thickness,top\n"
                                                           "X80,0.4,8,0.64,4.5,88\n"
                                                           "\"U70, \"\"东\"\"\",0.35,7,0.6,,\n";
    }
    Result Run(std::vector<std::string_view> args, const std::string& input = "") {
        args.insert(args.begin(), {"--catalogue", path_});
        return Cli(args, input);
    }
    test::TempFolder folder_;
    std::filesystem::path file_ = folder_ / "sections.csv";
    std::string path_ = file_.string();
};

std::string WithoutFirstLine(const std::string& text) {
    return text.substr(text.find('\n'));
}

TEST_F(CatalogueCommands, ARowWithU80sDimensionsReportsAsU80) {
    const Result mine = Run({"X80", "0.4", "500", "0.017", "1.2"});
    const Result u80 = Cli({"U80", "0.4", "500", "0.017", "1.2"});
    EXPECT_EQ(mine.status, 0);
    EXPECT_EQ(mine.out.substr(0, mine.out.find('\n')), "显示计算成果： X80形渠道构件。 ");
    EXPECT_EQ(WithoutFirstLine(mine.out), WithoutFirstLine(u80.out));
    const Result oneOff = Cli({"U:r=0.4,alpha=8,H=0.64,name=X", "0.4", "500", "0.017", "1.2"});
    EXPECT_EQ(WithoutFirstLine(oneOff.out), WithoutFirstLine(u80.out));
}

// fit with a catalogue is fit without it, with the catalogue's rows set in
// by their area: X80 beside U80 with U80's numbers, U70 between U60 and U80
// with its own single calculation's depths.
TEST_F(CatalogueCommands, FitAndSelectTableTakeTheCatalogueByArea) {
    const std::vector<std::string> standard =
        Lines(Cli({"fit", "0.25", "1000", "0.014", "1.2", "--csv"}).out);
    const Result fit = Run({"fit", "0.25", "1000", "0.014", "1.2", "--csv"});
    EXPECT_EQ(fit.status, 0);
    ASSERT_EQ(standard.size(), 6u);
    ASSERT_TRUE(standard[2].starts_with("U80,fits,"));
    // The single calculation's report: "设计水深：h = .51", "校核水深：h1= .573".
    const std::string report = Run({"U70, \"东\"", "0.25", "1000", "0.014", "1.2"}).out;
    const auto value = [&](std::string_view label) {
        const std::size_t at = report.find(label) + label.size();
        return report.substr(at, report.find('\n', at) - at);
    };
    std::vector<std::string> expected = standard;
    expected.insert(expected.begin() + 3, "X80" + standard[2].substr(3));
    expected.insert(expected.begin() + 2, "\"U70, \"\"东\"\"\",fits," + value("设计水深：h = ") +
                                              "," + value("校核水深：h1= ") + ",");
    const std::vector<std::string> lines = Lines(fit.out);
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == 2) {
            EXPECT_TRUE(lines[i].starts_with(expected[i])) << lines[i];  // its own V and Fr follow
        } else {
            EXPECT_EQ(lines[i], expected[i]);
        }
    }
    const Result table = Run({"select-table", "0.014", "1.2", "--slopes", "1000", "--csv"});
    EXPECT_EQ(table.out.substr(0, table.out.find('\n')),
              "slope,U60,\"U70, \"\"东\"\"\",U80,X80,U100,U120,U140");
}

TEST_F(CatalogueCommands, BatchAndCanalFilesNameCatalogueRows) {
    const Result batch = Run({"--batch", "-"},
                             "size,discharge,slope,roughness,factor\n"
                             "x80,0.4,500,0.017,1.2\nU75,0.4,500,0.017,1.2\n"
                             "U80,0.4,500,0.017,1.2\n");
    const std::vector<std::string> lines = Lines(batch.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "x80" + lines[3].substr(3));
    EXPECT_EQ(lines[2],
              "U75,0.4,500,0.017,1.2,error,,,,,,,,,,line 3: unknown size 'U75' "
              "(neither standard nor in the catalogue)");
    const Result profile = Run({"profile", "-", "--json"},
                               "name,length,size,slope,roughness,discharge\n"
                               "甲,300,X80,500,0.017,0.4\n");
    EXPECT_EQ(profile.err, "");
    EXPECT_NE(profile.out.find("\"size\":\"X80\""), std::string::npos) << profile.out;
}

TEST_F(CatalogueCommands, ABadCatalogueRunsNothing) {
    std::ofstream(file_.string(), std::ios::binary | std::ios::trunc)
        << "name,r,alpha,H\nU50,0.25,6,0.45\nU60,0.3,7,0.54\nU50,1,1,1\n";
    const Result r = Run({"U80", "0.4", "500", "0.017", "1.2"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "veltrane-calc: " + path_ +
                         ": line 3 (U60): the name is a standard size's (U60 … U140, D60 … D140)\n"
                         "veltrane-calc: " +
                         path_ + ": line 4 (U50): the name is line 2's too\n");
    const Result both = Cli({"--catalogue", "-", "--batch", "-"});
    EXPECT_EQ(both.status, 2);
    EXPECT_TRUE(test::IsUsageError(both.err)) << both.err;
}

// A one-off may not take a catalogue section's name; one catalogue only; a
// spreadsheet's file runs no name as a formula; an unnamed one-off is named
// after its numbers as read.
TEST_F(CatalogueCommands, OneOffNamesOneCatalogueAndFormulas) {
    const Result clash = Run({"U:r=0.5,alpha=8,H=0.7,name=x80", "0.3", "800", "0.015", "1.2"});
    EXPECT_EQ(clash.status, 2);
    EXPECT_EQ(clash.err,
              "veltrane-calc: size U:r=0.5,alpha=8,H=0.7,name=x80: the name x80 is a "
              "catalogue section's\n" +
                  std::string(test::kHelpHint));
    const Result twice = Run({"--catalogue", path_, "U80", "0.3", "800", "0.015", "1.2"});
    EXPECT_EQ(twice.err,
              "veltrane-calc: --catalogue is given twice; put the sections in one file\n" +
                  std::string(test::kHelpHint));
    std::ofstream(file_.string(), std::ios::binary | std::ios::trunc)
        << "name,r,alpha,H\n=cmd(),0.35,7,0.6\n";
    const Result fit = Run({"fit", "0.25", "1000", "0.014", "1.2", "--csv", "--bom"});
    EXPECT_NE(fit.out.find("\n'=cmd(),fits,"), std::string::npos) << fit.out;
    const Result table =
        Run({"select-table", "0.014", "1.2", "--slopes", "1000", "--csv", "--bom"});
    EXPECT_NE(table.out.find("slope,U60,'=cmd(),U80,"), std::string::npos) << table.out;
    const Result plain = Run({"fit", "0.25", "1000", "0.014", "1.2", "--csv"});
    EXPECT_NE(plain.out.find("\n=cmd(),fits,"), std::string::npos) << plain.out;
    const Result named = Cli({"U: R=.45 ,ALPHA=8.0,h=0.60", "0.3", "800", "0.015", "1.2"});
    EXPECT_EQ(named.out.substr(0, named.out.find('\n')),
              "显示计算成果： U(r=0.45,alpha=8,H=0.6)形渠道构件。 ");
}

TEST_F(CatalogueCommands, UnknownSizesAndBadOneOffsAreUsageErrors) {
    const Result unknown = Run({"U75", "0.4", "500", "0.017", "1.2"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "veltrane-calc: unknown size U75\n" + std::string(test::kHelpHint));
    const Result bad = Cli({"capacity", "U:r=0.4,alpha=50,H=0.64", "500", "0.017", "1.2"});
    EXPECT_EQ(bad.err,
              "veltrane-calc: size U:r=0.4,alpha=50,H=0.64: alpha must be at least 0 and below 45 "
              "degrees\n" +
                  std::string(test::kHelpHint));
}

}  // namespace
}  // namespace veltrane::cli
