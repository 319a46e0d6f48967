// SPDX-License-Identifier: GPL-3.0-or-later
// veltrane-calc sheet as a script calls it: files, statuses, and the PDF as
// poppler reads it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/cli/cli_runner.h"
#include "tests/cli/process.h"

namespace veltrane::cli::test {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

#if VELTRANE_CLI_PDF
// A poppler tool's output for a file, or nothing when the tool is missing.
std::string Poppler(const std::string& tool, const fs::path& file) {
    TempFolder folder;
    const fs::path out = folder / "out.txt";
    const std::string command = tool + " " + Quoted(file) + (tool == "pdftotext" ? " " : " > ") +
                                Quoted(out) + " 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    return ReadFile(out);
}
#endif

TEST(SheetCommand, HtmlForOneReach) {
    TempFolder folder;
    const ProcessResult r = RunCalc("sheet U60 0.25 500 0.017 1.0 --channel '一支渠' --html " +
                                    Quoted(folder / "u60.html"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string html = ReadFile(folder / "u60.html");
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(html.find("谢才系数：C = 45.034"), std::string::npos);
    EXPECT_NE(html.find("<svg "), std::string::npos);
}

// The title block, the basis, a criterion's source and the signatures, each
// as typed and escaped; a field not given stays an empty cell to fill in.
TEST(SheetCommand, TitleBlockBasisAndSignaturesAreTheUsers) {
    TempFolder folder;
    const fs::path html = folder / "t.html";
    const ProcessResult r = RunCalc(
        "sheet U60 0.25 500 0.017 1.0 --html " + Quoted(html) +
        " --project 东干渠 --unit '某院 <设计>' --number JS-17 --designer 张三 --date 2026-12-08"
        " --checker 李四 --approve-date 2026-12-10 --basis 'GB 50288 第 6.4.5 条' --basis 'SL 482'"
        " --min-freeboard 0.02 --min-freeboard-source 'GB 50288 第 6.4.5 条'");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string page = ReadFile(html);
    for (const std::string expected : {
             "<tr><td>工程名称</td><td>东干渠</td><td>设计单位</td><td>某院 "
             "&lt;设计&gt;</td></tr>\n"
             "<tr><td>设计阶段</td><td></td><td>计算书编号</td><td>JS-17</td></tr>\n"
             "<tr><td>渠道名称</td><td></td><td>桩号</td><td></td></tr>\n",
             "<h3>计算依据</h3>\n<p>1. GB 50288 第 6.4.5 条</p>\n<p>2. SL 482</p>\n",
             "安全超高不小于 0.02 m（依据：GB 50288 第 6.4.5 条）。",
             "<tr><td>计算</td><td>张三</td><td></td><td>2026-12-08</td></tr>\n"
             "<tr><td>校核</td><td>李四</td><td></td><td></td></tr>\n"
             "<tr><td>审核</td><td></td><td></td><td>2026-12-10</td></tr>\n",
         }) {
        EXPECT_NE(page.find(expected), std::string::npos) << expected;
    }
    // No basis given: said, not invented.
    const fs::path bare = folder / "bare.html";
    ASSERT_EQ(RunCalc("sheet U60 0.25 500 0.017 1.0 --html " + Quoted(bare)).status, 0);
    EXPECT_NE(ReadFile(bare).find("<h3>计算依据</h3>\n<p class=\"note\">未给定。</p>\n"),
              std::string::npos);
    EXPECT_EQ(RunCalc("fit 0.25 500 0.017 1 --basis x").status, 2);
}

TEST(SheetCommand, AMessageStillWritesTheSheetAndExits1) {
    TempFolder folder;
    const ProcessResult r =
        RunCalc("sheet U60 0.3 500 0.017 1.0 --html " + Quoted(folder / "s.html"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(ReadFile(folder / "s.html").find("设计水深大于渠深"), std::string::npos);
}

TEST(SheetCommand, FilesAreNeverReplacedSilently) {
    TempFolder folder;
    const std::string args = "sheet U60 0.25 500 0.017 1.0 --html " + Quoted(folder / "s.html");
    ASSERT_EQ(RunCalc(args).status, 0);
    const ProcessResult again = RunCalc(args);
    EXPECT_EQ(again.status, 2);
    EXPECT_NE(again.err.find("exists; add --force"), std::string::npos);
    EXPECT_EQ(RunCalc(args + " --force").status, 0);
}

TEST(SheetCommand, ACanalWithABadRow) {
    TempFolder folder;
    const ProcessResult r = RunCalc("sheet --batch - --html " + Quoted(folder / "canal.html"), "",
                                    "printf 'name,station,size,discharge,slope,roughness,factor\\n"
                                    "一支渠,0+000–1+200,U60,0.25,500,0.017,1.0\\n"
                                    "二支渠,1+200–2+000,U70,0.25,500,0.017,1.0\\n"
                                    "三支渠,2+000–2+600,U80,0.4,500,0.017,1.1\\n' |");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string html = ReadFile(folder / "canal.html");
    // The bad row keeps its name and chainage; the problem is said in Chinese.
    EXPECT_NE(html.find("<tr class=\"fail\"><td>2</td><td>二支渠</td><td>1+200–2+000</td>"
                        "<td></td><td></td><td></td><td></td><td></td><td></td><td></td>"
                        "<td>未计算：无此规格“U70”（可用 U60、U80、U100、U120、U140）（文件第 3 "
                        "行）</td></tr>"),
              std::string::npos)
        << html.substr(0, 4000);
    EXPECT_NE(html.find("<td>三支渠</td><td>2+000–2+600</td><td>U80</td>"), std::string::npos);
}

// A canal saved by a spreadsheet on a Chinese Windows: GB18030, said once.
TEST(SheetCommand, AGb18030CanalKeepsItsChineseNames) {
    TempFolder folder;
    const fs::path canal = folder / "canal.csv";
    // 一支渠 and 二支渠 in GB18030.
    std::ofstream(canal, std::ios::binary)
        << "name,station,size,discharge,slope,roughness,factor\r\n"
           "\xD2\xBB\xD6\xA7\xC7\xFE,0+000,U60,0.25,500,0.017,1.0\r\n"
           "\xB6\xFE\xD6\xA7\xC7\xFE,1+200,U70,0.25,500,0.017,1.0\r\n";
    const ProcessResult r =
        RunCalc("sheet --batch " + Quoted(canal) + " --html " + Quoted(folder / "canal.html"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "veltrane-calc: " + canal.string() + " is not UTF-8; read as GB18030\n");
    const std::string html = ReadFile(folder / "canal.html");
    EXPECT_NE(html.find("<td>1</td><td>一支渠</td><td>0+000</td><td>U60</td>"), std::string::npos)
        << html.substr(0, 4000);
    EXPECT_NE(html.find("<tr class=\"fail\"><td>2</td><td>二支渠</td><td>1+200</td>"),
              std::string::npos);
    EXPECT_EQ(html.find("\xEF\xBF\xBD"), std::string::npos) << "no U+FFFD";
}

TEST(SheetCommand, UsageErrors) {
    for (auto args : std::vector<std::vector<std::string_view>>{
             {"sheet", "U60", "0.25", "500", "0.017", "1.0"},
             {"sheet", "U60", "0.25", "500", "0.017", "1.0", "--html", "a", "--pdf", "b"},
             {"sheet", "U60", "0.25", "500", "0.017", "--html", "a"},
             {"U60", "0.25", "500", "0.017", "1.0", "--channel", "x"},
             {"fit", "0.25", "500", "0.017", "1.0", "--min-freeboard", "-1"},
             {"fit", "0.25", "500", "0.017", "1.0", "--min-velocity", "2", "--max-velocity", "1"},
             {"table", "U60", "500", "0.017", "--min-velocity", "0.5"}}) {
        const Result r = Cli(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_TRUE(test::IsUsageError(r.err)) << r.err;
    }
}

TEST(FitCriteria, TheSmallestSectionMeetsThem) {
    const Result r = Cli({"fit", "0.25", "500", "0.017", "1.2", "--min-freeboard", "0.2", "--csv"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "size,status,design_depth,check_depth,freeboard,velocity,froude,message\n"
              "U60,check_above,,,,,,\"校核水深已大于渠深,请选用其他U形渠道构件。\"\n"
              "U80,fails_criteria,.426,.475,.165,.923,.506,freeboard .165 below 0.2\n"
              "U100,fits,.38,.42,.33,.917,.549,\n"
              "U120,fits,.354,.388,.512,.905,.567,\n"
              "U140,fits,.335,.367,.683,.891,.58,\n");
    const Result none = Cli({"fit", "0.25", "500", "0.017", "1.2", "--max-velocity", "0.5"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.out.find("no standard section carries both discharges and meets the criteria"),
              std::string::npos);
}

#if VELTRANE_CLI_PDF
TEST(SheetPdf, EmbeddedFontsExtractableTextVectorDrawing) {
    TempFolder folder;
    const fs::path pdf = folder / "u60.pdf";
    const ProcessResult r = RunCalc(
        "sheet U60 0.25 500 0.017 1.0 --channel '<b>一支渠</b> & \"二\"' --pdf " + Quoted(pdf));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string fonts = Poppler("pdffonts", pdf);
    if (fonts.empty()) {
        GTEST_SKIP() << "poppler-utils is not installed";
    }
    // Every font line after the two header lines says "yes" for embedded.
    std::size_t lines = 0;
    for (std::size_t at = fonts.find('\n', fonts.find('\n') + 1); at + 1 < fonts.size();
         at = fonts.find('\n', at + 1)) {
        const std::string line = fonts.substr(at + 1, fonts.find('\n', at + 1) - at - 1);
        EXPECT_NE(line.find(" yes "), std::string::npos) << line;
        ++lines;
    }
    EXPECT_GE(lines, 1u);
    const std::string text = Poppler("pdftotext", pdf);
    for (const char* expected : {"装配式U形渠道水力计算书", "<b>一支渠</b> & \"二\"", "0.516",
                                 "45.034", "1.376", "0.657", "谢才系数：C = 45.034"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    // No raster image: the drawing is vector paths.
    const std::string images = Poppler("pdfimages -list", pdf);
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 2) << images;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

// A canal as a reader of the PDF finds it: every page numbered of the
// whole, and each reach's lines once (a page cut through a line used to
// print it at the foot of one page and again at the top of the next).
TEST(SheetPdf, ACanalsPagesAreNumberedAndNothingIsPrintedTwice) {
    TempFolder folder;
    std::string csv = "size,discharge,slope,roughness,factor,name,station\n";
    for (int i = 0; i < 12; ++i) {
        csv += "U" + std::to_string(60 + 20 * (i % 5)) + ",0." + std::to_string(12 + i * 3) +
               ",800,0.017,1.2,渠段" + std::to_string(i + 1) + ",K" + std::to_string(i) + "+000\n";
    }
    const fs::path input = folder / "canal.csv";
    std::ofstream(input) << csv;
    const fs::path pdf = folder / "canal.pdf";
    const ProcessResult r = RunCalc("sheet --batch " + Quoted(input) + " --pdf " + Quoted(pdf));
    ASSERT_EQ(r.err, "");
    const std::string text = Poppler("pdftotext", pdf);
    if (text.empty()) {
        GTEST_SKIP() << "poppler-utils is not installed";
    }
    const std::size_t pages = Count(text, "\f");
    ASSERT_GT(pages, 12u);
    for (std::size_t page = 1; page <= pages; ++page) {
        EXPECT_EQ(
            Count(text, "第 " + std::to_string(page) + " 页 共 " + std::to_string(pages) + " 页"),
            1u)
            << page;
    }
    for (const std::string line : {"一、已知条件", "二、计算方法与公式", "三、计算过程", "五、校核",
                                   "六、结论", "七、断面图"}) {
        EXPECT_EQ(Count(text, line), 12u) << line;
    }
}
#endif

}  // namespace
}  // namespace veltrane::cli::test
