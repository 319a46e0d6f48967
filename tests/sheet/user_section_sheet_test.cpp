// SPDX-License-Identifier: GPL-3.0-or-later
// A sheet and a drawing of a section the user defined: its dimensions are
// quoted as the designer's, a worked-out B says so, a missing δ is said to
// be missing, and a hostile name stays text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canal/water_surface.h"
#include "cli/profile_rows.h"
#include "hydraulics/calculation_run.h"
#include "sheet/profile_sheet.h"
#include "sheet/section_svg.h"
#include "sheet/sheet_builder.h"
#include "tests/sheet/table_rows.h"
#include "tests/sheet/xml_parse.h"

namespace veltrane::sheet {
namespace {

using Cells = std::vector<std::string>;
using test::Row;

SectionRef Cast(std::string name, std::optional<double> slab = std::nullopt) {
    return MakeUserSection({.name = std::move(name),
                            .radius = 0.45,
                            .alphaDeg = 8,
                            .depth = 0.6,
                            .slabCm = slab,
                            .topCm = std::nullopt});
}

SheetRequest Request(SectionRef section, std::string q) {
    return {.section = std::move(section),
            .discharge = std::move(q),
            .slope = "800",
            .roughness = "0.015",
            .factor = "1.2",
            .reach = {.date = "2026年12月9日"}};
}

std::string AllParagraphs(const Document& doc) {
    std::string text;
    for (const Block& b : doc.blocks) {
        if (const auto* p = std::get_if<Paragraph>(&b)) {
            text += p->text + "\n";
        }
    }
    return text;
}

TEST(UserSectionSheet, KnownDataAreTheDesignersDimensions) {
    const Document doc = BuildSheet(Request(Cast("现浇U45"), "0.3"));
    EXPECT_EQ(Row(doc, "断面"),
              (Cells{"断面", "", "现浇U45形渠道构件", "", "自定义断面，尺寸由设计人给定"}));
    EXPECT_EQ(Row(doc, "底弧半径"), (Cells{"底弧半径", "r", "0.45", "m", "设计人给定"}));
    EXPECT_EQ(Row(doc, "直墙倾角"), (Cells{"直墙倾角", "α", "8", "°", "设计人给定"}));
    EXPECT_EQ(Row(doc, "底弧圆心角"), (Cells{"底弧圆心角", "θ", "164", "°", "θ = 180° − 2α"}));
    EXPECT_EQ(Row(doc, "渠深"), (Cells{"渠深", "H", "0.6", "m", "设计人给定"}));
    // B = 2[0.45 cos 8° + (0.6 − 0.45(1 − sin 8°)) tan 8°] = 0.9510 m, by hand.
    EXPECT_EQ(Row(doc, "渠口宽"), (Cells{"渠口宽", "B", "95.1", "cm",
                                         "未给定，按 B = 2[r cos α + (H − t) tan α] 算得"}));
    EXPECT_EQ(Row(doc, "板厚"), (Cells{"板厚", "δ", "—", "cm", "未给定"}));
    // The report's header names the section as the user named it.
    EXPECT_NE(AllParagraphs(doc).find("π 取 3.141592654"), std::string::npos);
}

// A given B that r, α and H do not give is quoted beside the width they do:
// 2[0.35 cos 10° + (0.62 − 0.35(1 − sin 10°)) tan 10°] = 0.806 m, by hand.
// The title claims no precast for a user's section.
TEST(UserSectionSheet, AGivenTopWidthThatDisagreesIsSaid) {
    const SectionRef s = MakeUserSection(
        {.name = "厂家U70", .radius = 0.35, .alphaDeg = 10, .depth = 0.62, .topCm = 90});
    const Document doc = BuildSheet(Request(s, "0.2"));
    EXPECT_EQ(Row(doc, "渠口宽"), (Cells{"渠口宽", "B", "90", "cm",
                                         "设计人给定；按 r、α、H 算得 80.6 cm，与给定值不符"}));
    EXPECT_EQ(doc.title, "U形渠道水力计算书");
    const SectionRef near = MakeUserSection(
        {.name = "厂家U70", .radius = 0.35, .alphaDeg = 10, .depth = 0.62, .topCm = 81});
    EXPECT_EQ(Row(BuildSheet(Request(near, "0.2")), "渠口宽")[4], "设计人给定");
    EXPECT_EQ(BuildSheet(Request(StandardRef(SectionSize::U80), "0.2")).title,
              "装配式U形渠道水力计算书");
}

TEST(UserSectionSheet, TheSmallestFitMayBeTheUsers) {
    SheetRequest r = Request(StandardRef(SectionSize::U60), "0.25");
    r.slope = "1000";
    r.roughness = "0.014";
    ASSERT_TRUE(
        r.fitAmong.Add({.name = "U70", .radius = 0.35, .alphaDeg = 7, .depth = 0.6, .slabCm = 4})
            .empty());
    const std::string text = AllParagraphs(BuildSheet(r));
    EXPECT_NE(text.find("按相同输入选型，满足要求的最小断面为自定义断面U70形渠道构件。"),
              std::string::npos)
        << text;
    r.discharge = "5";
    EXPECT_NE(
        AllParagraphs(BuildSheet(r)).find("按相同输入选型，五种标准断面与自定义断面均不满足要求。"),
        std::string::npos);
}

// A name with markup and quotes is text in the drawing and no part of an id;
// without a thickness there is no slab to draw and no δ to quote.
TEST(UserSectionSheet, TheDrawingKeepsAHostileNameAsText) {
    const std::string name = "<b>\"甲\"&</b>";
    const SectionRef s = Cast(name);
    const CalculationOutcome outcome = RunCalculation(*s, {"0.3", "800", "0.015", "1.2"});
    ASSERT_TRUE(outcome.isReport());
    const test::Parsed p = test::Parse(CrossSectionSvg({PanelFor(*s, outcome)}, "t"));
    ASSERT_FALSE(p.error);
    EXPECT_EQ(p.elementCount.count("b"), 0u);
    EXPECT_TRUE(p.allText.contains(QString::fromStdString(name + "形渠道构件")));
    const QString id = QStringLiteral("x3c623e22e794b222263c2f623e");
    EXPECT_EQ(p.pathById.count("section-" + id), 1u);
    EXPECT_EQ(p.pathById.count("slab-" + id), 0u);
    EXPECT_FALSE(p.allText.contains(QStringLiteral("δ")));
    const SectionRef slab = Cast("U45", 6);
    const test::Parsed q = test::Parse(CrossSectionSvg(
        {PanelFor(*slab, RunCalculation(*slab, {"0.3", "800", "0.015", "1.2"}))}, "t"));
    EXPECT_EQ(q.pathById.count("slab-U45"), 1u);
    EXPECT_TRUE(q.allText.contains(QStringLiteral("δ = 6 cm")));
}

// A long name shrinks a drawing's title to its width (forty CJK characters
// are forty ems; ASCII about 0.55 em each), never below 60 %.
TEST(UserSectionSheet, ALongTitleShrinksToFit) {
    std::string forty;
    for (int i = 0; i < 40; ++i) {
        forty += "渠";
    }
    EXPECT_EQ(TitleFontSize("U80", 12, 100), 12);
    EXPECT_EQ(TitleFontSize(forty, 10, 300), 7.5);
    EXPECT_EQ(TitleFontSize(forty + forty, 10, 300), 6);
    EXPECT_NEAR(TitleFontSize(std::string(100, 'x'), 12, 440), 8, 1e-9);
}

// The water surface sheet lists each user's section its reaches name once,
// with the dimensions as given, beside the reach table.
TEST(UserSectionSheet, TheWaterSurfaceSheetQuotesTheSectionsItUses) {
    SectionSet sections;
    ASSERT_TRUE(
        sections.Add({.name = "现浇U45", .radius = 0.45, .alphaDeg = 8, .depth = 0.6}).empty());
    ASSERT_TRUE(sections
                    .Add({.name = "U50",
                          .radius = 0.25,
                          .alphaDeg = 6.5,
                          .depth = 0.45,
                          .slabCm = 3.5,
                          .topCm = 55})
                    .empty());
    const cli::ProfileReading reading = cli::ReadProfileRows(
        "name,length,size,slope,roughness,discharge\n"
        "甲,300,现浇U45,800,0.015,0.3\n乙,200,U60,500,0.017,0.2\n丙,200,现浇U45,800,0.015,0.2\n",
        sections);
    ASSERT_TRUE(reading.ok());
    canal::CanalRequest request;
    request.reaches = reading.reaches;
    const Document doc = BuildProfileSheet({.canal = request}, canal::ComputeProfile(request));
    EXPECT_EQ(Row(doc, "现浇U45"),
              (Cells{"现浇U45", "0.45", "8", "0.6", "95.1（算得）", "未给定"}));
    EXPECT_EQ(Row(doc, "U50"), Cells{});  // named by no reach
    EXPECT_EQ(Row(doc, "U60"), Cells{});  // a standard size needs no quoting
}

}  // namespace
}  // namespace veltrane::sheet
