// SPDX-License-Identifier: GPL-3.0-or-later
// How the command line may be written: values attached with "=", "-" for
// standard output, a help text that fits an 80-column terminal, whole
// column names in the text table.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/cli/cli_runner.h"

namespace veltrane::cli::test {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

class OptionForms : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() /
            ("veltrane-forms-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string File(const char* name) const { return (folder_ / name).string(); }

    fs::path folder_;
};

TEST_F(OptionForms, AnAttachedValueIsTheNextArgument) {
    const std::string a = File("a.html"), b = File("b.html");
    const Result split =
        Cli({"sheet", "U60", "0.25", "500", "0.017", "1", "--project",
             "-一支渠=", "--min-freeboard", "0.2", "--date", "2026-12-08", "--html", a});
    const std::string attachedHtml = "--html=" + b;
    const Result attached =
        Cli({"sheet", "U60", "0.25", "500", "0.017", "1",
             "--project=-一支渠=", "--min-freeboard=0.2", "--date=2026-12-08", attachedHtml});
    ASSERT_EQ(split.status, 0) << split.err;
    ASSERT_EQ(attached.status, 0) << attached.err;
    EXPECT_EQ(Slurp(a), Slurp(b));
    EXPECT_NE(Slurp(a).find("-一支渠="), std::string::npos);
}

TEST_F(OptionForms, AttachedValuesAreCheckedAsSeparateOnes) {
    const struct {
        std::vector<std::string_view> args;
        const char* said;
    } cases[] = {
        {{"--json=yes", "U60", "0.25", "500", "0.017", "1"}, "--json takes no value"},
        {{"--svg=", "U60", "0.25", "500", "0.017", "1"}, "--svg needs a FILE to draw into"},
        {{"--xml=a", "U60", "0.25", "500", "0.017", "1"}, "unknown option --xml"},
        {{"fit", "0.25", "500", "0.017", "1", "--step=0.1"}, "--step goes with table"},
    };
    for (const auto& c : cases) {
        const Result r = Cli(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "veltrane-calc: " + std::string(c.said) + "\n" + std::string(kHelpHint));
    }
    // After "--", "--json=1" is an operand like any other text.
    const Result r = Cli({"--", "--json=1", "0.25", "500", "0.017", "1"});
    EXPECT_EQ(r.err, "veltrane-calc: unknown size --json=1\n" + std::string(kHelpHint));
}

// "-" takes standard output for that file alone: the same bytes as the
// file, and nothing of the command's own text beside them.
TEST_F(OptionForms, ADashSendsTheFileToStandardOutput) {
    const std::string svg = File("s.svg"), html = File("t.html");
    ASSERT_EQ(Cli({"--svg", svg, "U60", "0.25", "500", "0.017", "1"}).status, 0);
    const Result drawn = Cli({"--svg", "-", "U60", "0.25", "500", "0.017", "1"});
    EXPECT_EQ(drawn.status, 0);
    EXPECT_EQ(drawn.out, Slurp(svg));
    EXPECT_EQ(drawn.err, "");

    ASSERT_EQ(
        Cli({"select-table", "0.014", "1", "--slopes", "500,1000", "--date", "d", "--html", html})
            .status,
        0);
    const Result sheet =
        Cli({"select-table", "0.014", "1", "--slopes", "500,1000", "--date", "d", "--html=-"});
    EXPECT_EQ(sheet.status, 0);
    EXPECT_EQ(sheet.out, Slurp(html));

    // A whole canal from standard input to standard output.
    const std::string canal =
        "size,discharge,slope,roughness,factor,name\n"
        "U60,0.25,500,0.017,1,一支渠\nU80,0.4,800,0.015,1.2,二支渠\n";
    const Result streamed = Cli({"sheet", "--batch", "-", "--date", "d", "--html", "-"}, canal);
    EXPECT_EQ(streamed.status, 0) << streamed.err;
    EXPECT_EQ(streamed.out.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(streamed.out.find("二支渠"), std::string::npos);
    EXPECT_TRUE(streamed.out.ends_with("</html>\n"));

    const Result both =
        Cli({"select-table", "0.014", "1", "--slopes", "500", "--svg", "-", "--html", "-"});
    EXPECT_EQ(both.status, 2);
    EXPECT_EQ(both.err, "veltrane-calc: only one output can go to standard output (\"-\")\n" +
                            std::string(kHelpHint));
    EXPECT_EQ(both.out, "");
}

// Display columns of a UTF-8 line: CJK characters take two.
std::size_t Columns(std::string_view line) {
    std::size_t columns = 0;
    for (std::size_t k = 0; k < line.size();) {
        const auto lead = static_cast<unsigned char>(line[k]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        columns += length >= 3 ? 2 : 1;  // every three-byte character here is CJK
        k += length;
    }
    return columns;
}

TEST(OptionHelp, FitsAnEightyColumnTerminal) {
    const Result help = Cli({"--help"});
    std::istringstream lines(help.out);
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_LE(Columns(line), 79u) << line;
    }
    EXPECT_GT(count, 60u);
    EXPECT_EQ(Columns("  --basis TEXT  a line of 计算依据"), 34u);
}

TEST(OptionTable, TextHeadingsAreWholeNames) {
    const Result r = Cli({"table", "U60", "500", "0.017", "--step", "0.25"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
              "depth      area       wetted_perimeter  hydraulic_radius  chezy      "
              "surface_width  discharge  velocity   froude     ");
}

}  // namespace
}  // namespace veltrane::cli::test
