// SPDX-License-Identifier: GPL-3.0-or-later
// The drawings of --svg, read back with an XML parser.
#include <gtest/gtest.h>

#include <QString>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "cli/veltrane_cli.h"
#include "hydraulics/calculation_run.h"
#include "sheet/rating_svg.h"
#include "sheet/section_svg.h"
#include "tests/sheet/xml_parse.h"

namespace veltrane::sheet {
namespace {

using test::Parse;
using test::Parsed;

// The y coordinate of a path's first point ("M x,y …").
double FirstY(const QString& d) {
    return d.mid(1).section(' ', 0, 0).section(',', 1, 1).toDouble();
}

TEST(Svg, ReportDrawingIsSelfContainedSvg) {
    const USection& u60 = LookupSection(SectionSize::U60);
    const auto outcome = RunCalculation(u60, {"0.2", "500", "0.017", "1.2"});
    ASSERT_TRUE(outcome.isReport());
    const std::string svg = CrossSectionSvg({PanelFor(u60, outcome)}, "U60形渠道构件");
    const Parsed p = Parse(svg);
    ASSERT_FALSE(p.error);
    EXPECT_EQ(p.rootVersion, "1.1");
    EXPECT_EQ(p.rootNamespace, "http://www.w3.org/2000/svg");
    EXPECT_EQ(p.elementCount.count("script"), 0u);
    EXPECT_EQ(p.elementCount.count("image"), 0u);
    EXPECT_EQ(svg.find("@font-face"), std::string::npos);
    EXPECT_EQ(svg.find("href"), std::string::npos);
    EXPECT_EQ(svg.find("url("), std::string::npos);
    for (const char* label : {"H=0.54", "h=.447", "h1=.502", "b=.64", "r=0.3", "α=7°"}) {
        EXPECT_TRUE(p.allText.contains(QString::fromUtf8(label))) << label;
    }
    EXPECT_TRUE(p.allText.contains(QString::fromUtf8("U60形渠道构件")));
}

// The water surface stands at the design depth on the drawing's scale: the
// first point of each outline is its left edge at the top.
TEST(Svg, WaterLineAtTheDesignDepth) {
    for (const USection& s : SectionCatalogue) {
        const auto outcome = RunCalculation(s, {"0.2", "500", "0.017", "1"});
        ASSERT_TRUE(outcome.isReport());
        const Parsed p = Parse(CrossSectionSvg({PanelFor(s, outcome)}, "t"));
        const QString name = QString::fromUtf8(SectionName(s.size).data());
        const double water = FirstY(p.pathById.at("water-" + name));
        const double top = FirstY(p.pathById.at("section-" + name));
        ASSERT_LT(top, 0);
        EXPECT_NEAR(water / top, outcome.searches->design.reportedDepth / s.channelDepth, 1e-4)
            << name.toStdString();
    }
}

TEST(Svg, FitDrawsFiveSectionsEachWithItsOwnWater) {
    const std::string path = ::testing::TempDir() + "fit-drawing.svg";
    std::filesystem::remove(path);
    std::istringstream in;
    std::ostringstream out, err;
    ASSERT_EQ(cli::RunCli({"fit", "0.4", "500", "0.017", "1.1", "--svg", path}, in, out, err), 0);
    std::ifstream file(path);
    const std::string svg((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const Parsed p = Parse(svg);
    ASSERT_FALSE(p.error);
    EXPECT_EQ(p.elementCount.at("g"), 1 + 5);
    EXPECT_EQ(p.pathById.count("water-U60"), 0u);  // its design depth lies above the channel
    EXPECT_TRUE(p.allText.contains(QString::fromUtf8("设计水深大于渠深")));
    double previous = 0;
    for (const char* size : {"U80", "U100", "U120", "U140"}) {
        const double water = FirstY(p.pathById.at(QString("water-") + size));
        EXPECT_LT(water, 0);
        if (previous != 0) {
            EXPECT_GT(water, previous);  // the larger the section, the lower the water
        }
        previous = water;
    }
}

// The title echoes the texts as typed; whatever they hold, the drawing stays
// well-formed XML, and the Chinese passes through.
TEST(Svg, AnyTextsGiveWellFormedXml) {
    const USection& u60 = LookupSection(SectionSize::U60);
    const auto outcome = RunCalculation(u60, {"0.25", "500", "0.017", "1"});
    ASSERT_TRUE(outcome.isReport());
    for (std::string_view text : {std::string_view("\x01\x1b[31m", 6), std::string_view("\xff\xfe"),
                                  std::string_view("\xc3"), std::string_view("\xed\xa0\x80"),
                                  std::string_view("\xef\xbf\xbf"), std::string_view("a\0b", 3),
                                  std::string_view("<&\"'>")}) {
        const std::string title = "渠道 " + InputsTitle(text, "500", text, "1");
        const Parsed p = Parse(CrossSectionSvg({PanelFor(u60, outcome)}, title));
        EXPECT_FALSE(p.error) << "text of " << text.size() << " bytes";
        EXPECT_TRUE(p.allText.contains(QString::fromUtf8("渠道 Q=")));
    }
}

// The rating curve: its title drawn, one line from the first depth to the
// channel depth, and the marks for the discharges given.
TEST(Svg, RatingCurveDrawsItsTitleLineAndMarks) {
    const USection& u60 = LookupSection(SectionSize::U60);
    const auto rows = RatingTable(u60, {.roughness = 0.017, .slope = 500}, 0.01);
    const std::string svg = RatingCurveSvg(u60, rows, {{0.25, "Q=0.25"}}, "U60 rating");
    const Parsed p = Parse(svg);
    ASSERT_FALSE(p.error);
    EXPECT_NE(svg.find(">U60 rating</text>"), std::string::npos);
    EXPECT_EQ(p.elementCount.at("polyline"), 1);
    EXPECT_TRUE(p.allText.contains(QString::fromUtf8("Q=0.25")));
    EXPECT_TRUE(p.allText.contains(QString::fromUtf8("H=0.54")));
}

TEST(Svg, NeverReplacesAFileSilently) {
    const std::string path = ::testing::TempDir() + "existing.svg";
    std::ofstream(path) << "keep me";
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCli({"--svg", path, "U60", "0.25", "500", "0.017", "1"}, in, out, err), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("exists; add --force"), std::string::npos);
    std::ifstream kept(path);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>()),
              "keep me");
    std::ostringstream out2, err2;
    EXPECT_EQ(
        cli::RunCli({"--svg", path, "--force", "U60", "0.25", "500", "0.017", "1"}, in, out2, err2),
        0);
    std::ifstream replaced(path);
    std::string head(5, '\0');
    replaced.read(head.data(), 5);
    EXPECT_EQ(head, "<?xml");
    EXPECT_EQ(out2.str().rfind("显示计算成果", 0), 0u);
}

}  // namespace
}  // namespace veltrane::sheet
