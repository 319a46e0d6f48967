// SPDX-License-Identifier: GPL-3.0-or-later
// A DXF's texts and its structure: what CAD reads as text stays text.
#include "handoff/dxf_drawing.h"

#include <gtest/gtest.h>

#include <string>

namespace veltrane::handoff {
namespace {

// The file's code page is GBK: Chinese goes in as GBK, what GBK lacks as
// \U+XXXX, and what would start a code escaped.
TEST(DxfText, AsciiStaysChineseIsGbkAndTheRestIsEscaped) {
    EXPECT_EQ(DxfText("U60 h = 0.516 m"), "U60 h = 0.516 m");
    EXPECT_EQ(DxfText("断面"), "\xB6\xCF\xC3\xE6");
    EXPECT_EQ(DxfText("é—"), "\xA8\xA6\xA1\xAA");
    EXPECT_EQ(DxfText("\xED\x95\x9C"), "\\U+D55C");  // GBK has no Hangul
    // A backslash or a per cent sign would start a code: escaped too.
    EXPECT_EQ(DxfText("a\\U+0041 %%d"), "a\\U+005CU+0041 \\U+0025\\U+0025d");
    // A TEXT is one line: breaks and controls are replacement characters.
    EXPECT_EQ(DxfText("a\nb\r\x01\x7f"), "a\\U+FFFDb\\U+FFFD\\U+FFFD\\U+FFFD");
    // Broken UTF-8, a surrogate, an overlong form; past the BMP.
    EXPECT_EQ(DxfText("\xE6\x96"), "\\U+FFFD\\U+FFFD");
    EXPECT_EQ(DxfText("\xED\xA0\x80"), "\\U+FFFD");
    EXPECT_EQ(DxfText("\xC0\xAF"), "\\U+FFFD\\U+FFFD");
    EXPECT_EQ(DxfText("\xF0\x9F\x98\x80"), "\\U+FFFD");
}

TEST(DxfText, ALongTextIsCutAtAWholeCharacterWithAnEllipsis) {
    const std::string ellipsis = "\xA1\xAD";  // … in GBK
    EXPECT_EQ(DxfText(std::string(5000, 'x')), std::string(kLongestText - 2, 'x') + ellipsis);
    // As long as a text may be: whole.
    EXPECT_EQ(DxfText(std::string(kLongestText, 'x')), std::string(kLongestText, 'x'));
    std::string wide;
    for (int i = 0; i < 3000; ++i) {
        wide += "渠";
    }
    std::string expected;
    for (int i = 0; i < 1023; ++i) {  // 2 bytes each, and the ellipsis: 2048 ≤ 2049
        expected += "\xC7\xFE";
    }
    EXPECT_EQ(DxfText(wide), expected + ellipsis);
}

TEST(DxfDrawing, TheFileHasItsSectionsLayersAndEntities) {
    DxfDrawing d;
    d.Line(Layer::Section, {0, 0}, {1, 2});
    d.Arc(Layer::Section, {0, 0.3}, 0.3, 263, 277);
    d.Polyline(Layer::Water, {{0, 1}, {100, 0.9}, {200, 0.8}}, true);
    d.Polyline(Layer::Water, {{0, 1}});  // one point draws nothing
    d.Text({0, 0}, 0.1, "总干", Align::Centre);
    const std::string dxf = d.Write();
    for (const char* part :
         {"SECTION\n2\nHEADER", "SECTION\n2\nTABLES", "SECTION\n2\nENTITIES", "EOF\n",
          "$DWGCODEPAGE\n3\nANSI_936", "\xB6\xCF\xC3\xE6", "\xCB\xAE\xC3\xE6", "\xB1\xEA\xD7\xA2",
          "\xCE\xC4\xD7\xD6", "DASHED", "\xD7\xDC\xB8\xC9"}) {
        EXPECT_NE(dxf.find(part), std::string::npos) << part;
    }
    // Each entity once; the lone point made no polyline.
    const auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (auto at = dxf.find(what); at != std::string::npos; at = dxf.find(what, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(count("\n0\nLINE\n"), 1u);
    EXPECT_EQ(count("\n0\nARC\n"), 1u);
    EXPECT_EQ(count("\n0\nTEXT\n"), 1u);
    EXPECT_EQ(count("\n0\nLWPOLYLINE\n") + count("\n0\nPOLYLINE\n"), 1u);
}

}  // namespace
}  // namespace veltrane::handoff
