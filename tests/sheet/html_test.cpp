// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet as HTML: well-formed, self-contained, and every typed text shown
// as text, never as markup.
#include <gtest/gtest.h>

#include <string>

#include "sheet/html_writer.h"
#include "sheet/selection_sheet.h"
#include "sheet/sheet_builder.h"
#include "tests/sheet/xml_parse.h"

namespace veltrane::sheet {
namespace {

SheetRequest WithChannel(std::string channel) {
    return {.section = StandardRef(SectionSize::U60),
            .discharge = "0.25",
            .slope = "500",
            .roughness = "0.017",
            .factor = "1.0",
            .reach = {.channel = std::move(channel), .date = "2026年12月8日"}};
}

TEST(Html, ParsesAsXmlWithTheDrawingInline) {
    const std::string html = WriteHtml(BuildSheet(WithChannel("一支渠")));
    const test::Parsed p = test::Parse(html);
    ASSERT_FALSE(p.error);
    EXPECT_EQ(p.elementCount.at("svg"), 1);
    EXPECT_EQ(p.elementCount.count("script"), 0u);
    EXPECT_EQ(p.elementCount.count("img"), 0u);
    EXPECT_EQ(html.find("http://", html.find("<body>")), html.find("http://www.w3.org/2000/svg"));
    EXPECT_TRUE(p.allText.contains(QString::fromUtf8("装配式U形渠道水力计算书")));
    EXPECT_TRUE(p.allText.contains(QString::fromUtf8("谢才系数：C = 45.034")));
}

// Exponents are superscripts only in the builder's own formula blocks; the
// same characters typed by a user stay as typed, escaped.
TEST(Html, ExponentsAreSuperscriptsOnlyInFormulas) {
    Document doc{.title = "t"};
    doc.blocks.emplace_back(Paragraph{.text = "C = R^{1/6}/n & <x>", .formula = true});
    doc.blocks.emplace_back(Paragraph{.text = "渠^{1/6}<b>"});
    doc.blocks.emplace_back(Table{.rows = {{"C", "m^{1/2}/s", "^{"}}, .formula = true});
    const std::string html = WriteHtml(doc);
    EXPECT_NE(html.find("<p>C = R<sup>1/6</sup>/n &amp; &lt;x&gt;</p>\n"), std::string::npos);
    EXPECT_NE(html.find("<p>渠^{1/6}&lt;b&gt;</p>\n"), std::string::npos);
    EXPECT_NE(html.find("<tr><td>C</td><td>m<sup>1/2</sup>/s</td><td>^{</td></tr>"),
              std::string::npos)
        << html;
    ASSERT_FALSE(test::Parse(html).error);
}

// Printed from a browser, every page says which of how many it is.
TEST(Html, PrintedPagesAreNumbered) {
    const std::string html = WriteHtml(BuildSheet(WithChannel("一支渠")));
    EXPECT_NE(html.find("@bottom-center { content: \"第 \" counter(page) \" 页 共 \" "
                        "counter(pages) \" 页\";"),
              std::string::npos);
}

TEST(Html, TypedTextsAreTextNeverMarkup) {
    const std::string channel = "<b>一支渠</b> & \"二\"";
    const test::Parsed p = test::Parse(WriteHtml(BuildSheet(WithChannel(channel))));
    ASSERT_FALSE(p.error);
    EXPECT_EQ(p.elementCount.count("b"), 0u);
    EXPECT_TRUE(p.allText.contains(QString::fromUtf8(channel.c_str())));
}

TEST(Html, ControlCharactersAndBrokenUtf8StillParse) {
    for (std::string text : {std::string("a\x01\x1b[31mb"), std::string("\xff\xfe"),
                             std::string("\xed\xa0\x80"), std::string("x\0y", 3)}) {
        SheetRequest r = WithChannel(text);
        r.discharge = text;
        const test::Parsed p = test::Parse(WriteHtml(BuildSheet(r)));
        EXPECT_FALSE(p.error) << text.size() << " bytes";
    }
}

TEST(Html, EachReachOfACanalStartsANewPage) {
    std::vector<CanalRow> rows(2);
    rows[0].request = WithChannel("一支渠");
    rows[1].request = WithChannel("二支渠");
    const std::string html = WriteHtml(BuildCanal(rows));
    ASSERT_FALSE(test::Parse(html).error);
    std::size_t breaks = 0;
    for (auto at = html.find("<div class=\"break\">"); at != std::string::npos;
         at = html.find("<div class=\"break\">", at + 1)) {
        ++breaks;
    }
    EXPECT_EQ(breaks, 2u);
    EXPECT_NE(html.find("page-break-before: always"), std::string::npos);
}

// The selection table as a document: the table, then the chart with a line
// per section.
TEST(Html, SelectionSheetHasTheTableAndTheChart) {
    const long slopes[] = {300, 1000, 5000};
    const auto rows = SelectionTable(slopes, "0.017", "1.0", {});
    const std::string html = WriteHtml(BuildSelectionSheet(rows, "0.017", "1.0", {}, ""));
    const test::Parsed p = test::Parse(html);
    ASSERT_FALSE(p.error);
    EXPECT_EQ(p.elementCount.at("svg"), 1);
    EXPECT_EQ(p.elementCount.at("polyline"), 5);
    EXPECT_TRUE(p.allText.contains(QString::fromUtf8("1/5000")));
    EXPECT_NE(html.find(">各断面最大设计流量</text>"),
              std::string::npos);  // the chart's title, drawn
    EXPECT_TRUE(p.allText.contains(QString::fromUtf8("U140形渠道构件")));
}

}  // namespace
}  // namespace veltrane::sheet
