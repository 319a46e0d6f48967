// SPDX-License-Identifier: GPL-3.0-or-later
// The small facts written once: line breaks, the font list, the verdicts.
#include <gtest/gtest.h>

#include "views/dates.h"
#include "views/fonts.h"
#include "views/lines.h"
#include "views/verdicts.h"

namespace veltrane::views {
namespace {

TEST(UnixLines, OnlyCrLfBecomesLf) {
    EXPECT_EQ(UnixLines("a\r\nb\rc\r\n\r\nd\r"), "a\nb\rc\n\nd\r");
    EXPECT_EQ(UnixLines(""), "");
}

TEST(Fonts, OneListInEveryForm) {
    EXPECT_EQ(FontFamilyList("serif", '\''),
              "SimSun, 'AR PL UMing CN', 'AR PL UMing TW', 'Noto Serif CJK SC', serif");
    EXPECT_EQ(FontFamilyList("monospace", '"'),
              "SimSun, \"AR PL UMing CN\", \"AR PL UMing TW\", \"Noto Serif CJK SC\", monospace");
    EXPECT_EQ(SvgFontAttribute(),
              "font-family=\"SimSun, 'AR PL UMing CN', 'AR PL UMing TW', 'Noto Serif CJK SC', "
              "serif\"");
    EXPECT_EQ(PageFontFamilyList("serif"),
              "SimSun, \"AR PL UMing CN\", \"AR PL UMing TW\", \"Noto Serif CJK SC\", "
              "\"Noto Sans CJK SC\", \"WenQuanYi Zen Hei\", \"PingFang SC\", \"Microsoft YaHei\", "
              "serif");
    const std::string a = SvgFontAttribute();
    EXPECT_EQ(WithSingleFontFace("<g " + a + "><g " + a + "/></g>"),
              "<g font-family=\"SimSun\"><g font-family=\"SimSun\"/></g>");
}

TEST(Dates, AsWrittenByHand) {
    EXPECT_EQ(SheetDate(2026, 12, 8), "2026年12月8日");
    EXPECT_EQ(SheetDate(2027, 1, 31), "2027年1月31日");
}

TEST(Verdicts, DepthAboveTheChannel) {
    EXPECT_EQ(DepthAboveChannel(MessageNumber::DesignOverflow), "设计水深大于渠深");
    EXPECT_EQ(DepthAboveChannel(MessageNumber::CheckOverflow), "校核水深大于渠深");
    EXPECT_EQ(DepthAboveChannel(MessageNumber::Roughness), "");
}

}  // namespace
}  // namespace veltrane::views
