// SPDX-License-Identifier: GPL-3.0-or-later
// The Word document's parts: each block as Word reads it, texts as text.
#include "handoff/docx_parts.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "handoff/zip_package.h"

namespace veltrane::handoff {
namespace {

std::map<std::string, std::string> PartsOf(const sheet::Document& doc,
                                           const std::vector<DocxPicture>& pictures = {}) {
    std::map<std::string, std::string> parts;
    for (DocxPart& p : DocxParts(doc, pictures, "2026-12-09T10:00:00Z")) {
        parts.emplace(std::move(p.name), std::move(p.bytes));
    }
    return parts;
}

// The body of word/document.xml, between <w:body> and the section's properties.
std::string Body(const sheet::Document& doc) {
    const std::string xml = PartsOf(doc).at("word/document.xml");
    const auto from = xml.find("<w:body>\n") + 9;
    return xml.substr(from, xml.find("<w:sectPr>") - from);
}

TEST(DocxParts, HeadingsTakeWordsHeadingStyles) {
    EXPECT_EQ(Body({.blocks = {sheet::Heading{.level = 2, .text = "一、基本资料"}}}),
              "<w:p><w:pPr><w:pStyle w:val=\"Heading2\"/></w:pPr><w:r><w:t "
              "xml:space=\"preserve\">一、基本资料</w:t></w:r></w:p>\n");
    const std::string styles = PartsOf({}).at("word/styles.xml");
    EXPECT_NE(styles.find("w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/>"),
              std::string::npos);
}

TEST(DocxParts, TextIsEscapedAndItsBreaksAreWords) {
    EXPECT_EQ(Body({.blocks = {sheet::Paragraph{.text = "<b>&\"\x01\tx\r\ny"}}}),
              "<w:p><w:r><w:t xml:space=\"preserve\">&lt;b&gt;&amp;&quot;\xEF\xBF\xBD</w:t></w:r>"
              "<w:r><w:tab/><w:t xml:space=\"preserve\">x</w:t></w:r>"
              "<w:r><w:br/><w:t xml:space=\"preserve\">y</w:t></w:r></w:p>\n");
}

TEST(DocxParts, AFormulasExponentIsASuperscriptAndATonesColourStays) {
    EXPECT_EQ(Body({.blocks = {sheet::Paragraph{
                        .text = "R^{2/3}", .tone = sheet::Tone::Fail, .formula = true}}}),
              "<w:p><w:r><w:rPr><w:b/><w:color w:val=\"B2182B\"/></w:rPr><w:t "
              "xml:space=\"preserve\">R</w:t></w:r><w:r><w:rPr><w:b/><w:color "
              "w:val=\"B2182B\"/><w:vertAlign w:val=\"superscript\"/></w:rPr><w:t "
              "xml:space=\"preserve\">2/3</w:t></w:r></w:p>\n");
}

TEST(DocxParts, ATablesHeaderRepeatsAndItsRowsStayWhole) {
    const std::string body =
        Body({.blocks = {sheet::Table{.header = {"项目", "结果"}, .rows = {{"超高", "0.024"}}}}});
    EXPECT_NE(body.find("<w:trPr><w:cantSplit/><w:tblHeader/></w:trPr>"), std::string::npos);
    EXPECT_EQ(body.find("<w:tblHeader/>", body.find("<w:tblHeader/>") + 1), std::string::npos);
    EXPECT_NE(body.find(">0.024</w:t>"), std::string::npos);
    EXPECT_GT(body.rfind("<w:p>"), body.rfind("</w:tbl>"));  // a paragraph after the table
}

// A very long cell wraps in its own column instead of crushing the others;
// the signatures keep together, their headings bold as every header's.
TEST(DocxParts, ALongCellWrapsAndTheSignaturesKeepTogether) {
    std::string name;
    for (int i = 0; i < 300; ++i) {
        name += "渠";
    }
    const std::string body =
        Body({.blocks = {sheet::Table{.header = {"渠段", "长度 (m)"}, .rows = {{name, "100"}}}}});
    const auto grid = [&body](std::size_t n) {
        std::size_t at = 0;
        for (std::size_t i = 0; i <= n; ++i) {
            at = body.find("<w:gridCol w:w=\"", at) + 16;
        }
        return std::stol(body.substr(at));
    };
    EXPECT_LT(grid(0), 5 * grid(1));  // capped: 26.5 to 5.8 half ems, not 602.5
    const std::string signatures =
        Body({.blocks = {sheet::Signatures{
                  .lines = {{.role = "计算"}, {.role = "校核"}, {.role = "审核"}}}}});
    std::size_t kept = 0;
    for (auto at = signatures.find("<w:keepNext/>"); at != std::string::npos;
         at = signatures.find("<w:keepNext/>", at + 1)) {
        ++kept;
    }
    EXPECT_EQ(kept, 4u * 3);  // every cell of the header and the first two rows
    EXPECT_NE(signatures.find("<w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">职责</w:t>"),
              std::string::npos);
}

TEST(DocxParts, EachDrawingIsItsPngWithItsSvgBeside) {
    const sheet::Document doc{.blocks = {sheet::Drawing{.svg = "<svg>a</svg>", .printedWidth = 0.5},
                                         sheet::Drawing{.svg = "<svg>b</svg>", .printedWidth = 1}}};
    const auto parts = PartsOf(doc, {{.png = "P1", .pixelWidth = 1000, .pixelHeight = 500},
                                     {.png = "P2", .pixelWidth = 100, .pixelHeight = 100}});
    EXPECT_EQ(parts.at("word/media/drawing1.png"), "P1");
    EXPECT_EQ(parts.at("word/media/drawing2.svg"), "<svg>b</svg>");
    const std::string xml = parts.at("word/document.xml");
    // 174 mm of text: half of it, 2:1; all of it, square. EMU are 36000 a mm.
    EXPECT_NE(xml.find("<wp:extent cx=\"3132000\" cy=\"1566000\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<wp:extent cx=\"6264000\" cy=\"6264000\"/>"), std::string::npos);
    const std::string rels = parts.at("word/_rels/document.xml.rels");
    EXPECT_NE(rels.find("Id=\"rIdSvg2\" Type=\"http://schemas.openxmlformats.org/"
                        "officeDocument/2006/relationships/image\" Target=\"media/drawing2.svg\""),
              std::string::npos);
}

TEST(DocxParts, TheZipHoldsEveryPartFirstTheContentTypes) {
    const std::vector<DocxPart> parts = DocxParts({.title = "计算书"}, {}, "2026-12-09T10:00:00Z");
    const ZipOutput zip = ZipParts(parts);
    ASSERT_EQ(zip.error, "");
    EXPECT_EQ(zip.bytes.substr(0, 4), "PK\x03\x04");
    EXPECT_EQ(zip.bytes.substr(30, 19), "[Content_Types].xml");
    for (const DocxPart& p : parts) {
        EXPECT_NE(zip.bytes.find(p.name), std::string::npos) << p.name;
    }
    // The same parts make the same bytes.
    EXPECT_EQ(ZipParts(parts).bytes, zip.bytes);
}

}  // namespace
}  // namespace veltrane::handoff
