// SPDX-License-Identifier: GPL-3.0-or-later
// sheet --batch --html writes the canal's page as it is made, reach by
// reach: the file holds the very page that the whole document gives, and a
// write that fails half-way leaves nothing of it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "cli/canal_rows.h"
#include "sheet/html_writer.h"
#include "tests/cli/process.h"

namespace veltrane::cli::test {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

// Every kind of row a canal has, 200 times over: reaches that serve, fail a
// criterion, overflow or are rejected, and rows that cannot be read; some
// 2 MB of page, many pieces of it.
std::string CanalText() {
    std::string text = "name,station,size,discharge,slope,roughness,factor,project\n";
    for (int i = 0; i < 200; ++i) {
        const std::string n = std::to_string(i);
        text += "支渠" + n + ",0+" + n + ",U80,0.4,500,0.017,1.2,灌区<一期>\n";
        text += "斗渠" + n + ",,U60,0.3,500,0.017,1.0,\n";
        text += "农渠" + n + ",,U140,abc,500,0.017,1.0,\n";
        text += "毛渠" + n + ",,U70,0.25,500,0.017,1.0,\n";
        text += "短行" + n + ",U60\n";
    }
    return text;
}

TEST(CanalPage, IsThePageOfTheWholeDocument) {
    TempFolder folder;
    const std::string text = CanalText();
    std::ofstream(folder / "canal.csv", std::ios::binary) << text;
    const ProcessResult r =
        RunCalc("sheet --batch " + Quoted(folder / "canal.csv") +
                " --designer 李工 --date 2026-03-01 --min-freeboard 0.1 --html " +
                Quoted(folder / "canal.html"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    const CanalReading canal =
        ReadCanalRows(text, {.designer = "李工", .date = "2026-03-01"}, {.minFreeboard = 0.1});
    ASSERT_FALSE(canal.problem);
    const std::string whole = sheet::WriteHtml(sheet::BuildCanal(canal.rows));
    ASSERT_GT(whole.size(), 1000000u);
    const std::string streamed = ReadFile(folder / "canal.html");
    EXPECT_EQ(streamed.size(), whole.size());
    EXPECT_TRUE(streamed == whole);
    // Each of the 600 reaches once, each on a page of its own; the 400 that
    // are not rejected with their drawing; and the end of the page, once.
    EXPECT_EQ(Count(streamed, "<div class=\"break\"></div>"), 600u);
    EXPECT_EQ(Count(streamed, "<svg "), 400u);
    EXPECT_EQ(Count(streamed, "</html>"), 1u);
    EXPECT_EQ(streamed.find("</body>\n</html>\n"), streamed.size() - 16);
}

// A file size limit stands in for a full disk: the page fails after its
// first pieces. Neither a partial page nor a temporary file stays, and a
// page that --force was to replace is kept whole.
TEST(CanalPage, AFailedWriteLeavesNothingOfIt) {
    TempFolder folder;
    std::ofstream(folder / "canal.csv", std::ios::binary) << CanalText();
    const fs::path page = folder / "canal.html";
    for (const std::string force : {"", " --force"}) {
        const ProcessResult r = RunCalc(
            "sheet --batch " + Quoted(folder / "canal.csv") + " --html " + Quoted(page) + force, "",
            "trap '' XFSZ; ulimit -f 256;");
        EXPECT_EQ(r.status, 3) << force;
        EXPECT_EQ(r.err, "veltrane-calc: cannot write " + page.string() + ": File too large\n");
        if (force.empty()) {
            EXPECT_EQ(Names(folder.path()), std::set<std::string>{"canal.csv"});
            std::ofstream(page) << "the old page";
        } else {
            EXPECT_EQ(Names(folder.path()), (std::set<std::string>{"canal.csv", "canal.html"}));
            EXPECT_EQ(ReadFile(page), "the old page");
        }
    }
}

}  // namespace
}  // namespace veltrane::cli::test
