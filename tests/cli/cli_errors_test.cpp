// SPDX-License-Identifier: GPL-3.0-or-later
// Every kind of error veltrane-calc stops for, each said once on stderr as
// "veltrane-calc: MESSAGE" (with the usage text when the command line is at
// fault) and given its exit status, with nothing on stdout and no file left.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/cli/cli_runner.h"
#include "tests/cli/process.h"

namespace veltrane::cli::test {
namespace {

namespace fs = std::filesystem;

std::string WithUsage(std::string_view message) {
    return "veltrane-calc: " + std::string(message) + "\n" + std::string(kHelpHint);
}

std::size_t FilesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

constexpr std::string_view kCriterionRefused =
    "--max-velocity takes a value in m/s, 0 or more, written as a plain decimal";

TEST(CliErrors, AUsageErrorSaysWhatAndHow) {
    const Result r = Cli({"table", "U70", "500", "0.017"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, WithUsage("unknown size U70"));
}

// Blanks around a size are read as a batch file's size column reads them.
TEST(CliErrors, BlanksAroundASizeAreIgnored) {
    const Result plain = Cli({"U60", "0.25", "500", "0.017", "1.0"});
    for (const std::string_view size : {"U60 ", " u60", "\tU60\t"}) {
        const Result r = Cli({size, "0.25", "500", "0.017", "1.0"});
        EXPECT_EQ(r.status, 0) << size;
        EXPECT_EQ(r.out, plain.out) << size;
    }
    EXPECT_EQ(Cli({"U 60", "0.25", "500", "0.017", "1.0"}).err, WithUsage("unknown size U 60"));
}

// The one size check, for every command that takes a SIZE.
TEST(CliErrors, AnUnknownSizeIsTheSameForEveryCommand) {
    for (const std::vector<std::string_view>& args : std::vector<std::vector<std::string_view>>{
             {"D70", "0.25", "500", "0.017", "1"},
             {"sheet", "D70", "0.25", "500", "0.017", "1", "--html", "x.html"},
             {"table", "D70", "500", "0.017"},
             {"capacity", "D70", "500", "0.017", "1"},
             {"solve-slope", "D70", "0.25", "0.017", "1"}}) {
        const Result r = Cli(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.err, WithUsage("unknown size D70")) << args[0];
    }
}

TEST(CliErrors, ARefusedCriterionWritesNoFile) {
    TempFolder folder;
    const std::string html = (folder / "s.html").string();
    const Result r = Cli(
        {"sheet", "U60", "0.25", "500", "0.017", "1.0", "--max-velocity", "3 m/s", "--html", html});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, WithUsage(kCriterionRefused));
    EXPECT_EQ(FilesIn(folder.path()), 0u);
}

// Blanks around a criterion are ignored and an empty one is not given.
TEST(CliErrors, CriteriaReadByOneRule) {
    const Result plain = Cli({"capacity", "U60", "500", "0.017", "1", "--min-velocity", "0.5"});
    EXPECT_EQ(plain.status, 0);
    const Result blanks = Cli(
        {"capacity", "U60", "500", "0.017", "1", "--min-velocity", " 0.5\t", "--max-velocity", ""});
    EXPECT_EQ(blanks.status, 0) << blanks.err;
    EXPECT_EQ(blanks.out, plain.out);
    const Result none =
        Cli({"capacity", "U60", "5000", "0.017", "1", "--min-velocity", "3", "--json"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(Cli({"capacity", "U60", "5000", "0.017", "1", "--min-velocity", " 3 ",
                   "--max-velocity", " ", "--json"})
                  .out,
              none.out);
    for (std::string_view refused : {"-1", "1e999", "nan", "+1", "1,5", "0.5 m/s"}) {
        const Result r = Cli({"fit", "0.25", "500", "0.017", "1", "--max-velocity", refused});
        EXPECT_EQ(r.status, 2) << refused;
        EXPECT_EQ(r.err, WithUsage(kCriterionRefused)) << refused;
    }
    // Refused where it stands, before what follows it; a missing value is refused too.
    EXPECT_EQ(Cli({"fit", "0.25", "500", "0.017", "1", "--max-velocity", "3 m/s", "--xml"}).err,
              WithUsage(kCriterionRefused));
    EXPECT_EQ(Cli({"fit", "0.25", "500", "0.017", "1", "--max-velocity"}).err,
              WithUsage(kCriterionRefused));
    const Result crossed =
        Cli({"fit", "0.25", "500", "0.017", "1", "--min-velocity", " 2 ", "--max-velocity", "1"});
    EXPECT_EQ(crossed.err, WithUsage("--min-velocity is above --max-velocity"));
}

TEST(CliErrors, AnUnreadableInputNeedsNoUsage) {
    const Result r = Cli({"sheet", "--batch", "/nonexistent/canal.csv", "--html", "x.html"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "veltrane-calc: cannot read /nonexistent/canal.csv: No such file or "
              "directory\n");
}

TEST(CliErrors, AFileWithoutItsColumnsIsAnInputError) {
    const Result r =
        Cli({"sheet", "--batch", "-", "--html", "x.html"}, "name,size,discharge,slope,roughness\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "veltrane-calc: the batch header has no column 'factor'\n");
    const Result empty = Cli({"--batch", "-"}, "\xFF\xFE");
    EXPECT_EQ(empty.status, 2);
    EXPECT_EQ(empty.err,
              "veltrane-calc: the batch file is empty; its first row must name the columns "
              "size,discharge,slope,roughness,factor\n");
    const Result twice = Cli({"--batch", "-"}, "size,discharge,slope,roughness,factor,Slope\n");
    EXPECT_EQ(twice.err, "veltrane-calc: the batch header names the column 'slope' twice\n");
}

TEST(CliErrors, AnExistingFileIsKept) {
    TempFolder folder;
    const std::string svg = (folder / "fit.svg").string();
    std::ofstream(svg) << "old";
    const Result r = Cli({"fit", "0.25", "500", "0.017", "1.2", "--svg", svg});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "veltrane-calc: " + svg + " exists; add --force to replace it\n");
    EXPECT_EQ(ReadFile(svg), "old");
}

TEST(CliErrors, AFileThatCannotBeWrittenExits3) {
    TempFolder folder;
    const std::string html = (folder / "none" / "s.html").string();
    const Result r = Cli({"select-table", "0.017", "1", "--slopes", "500", "--html", html});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "veltrane-calc: cannot write " + html + ": No such file or directory\n");
    EXPECT_EQ(FilesIn(folder.path()), 0u);
}

// The calculation's own message is a result: exit 1, its text alone, no lead.
TEST(CliErrors, ACalculationsMessageIsNotAnError) {
    const Result r = Cli({"capacity", "U60", "500", "0", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "糙率不能为0或负数，请重新输入。\n");
}

}  // namespace
}  // namespace veltrane::cli::test
