// SPDX-License-Identifier: GPL-3.0-or-later
// The drawings of --svg, read back with an XML parser.
#include <gtest/gtest.h>

#include <QPointF>
#include <QString>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

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
    for (const char* label : {"H = 0.54 m", "h = 0.447 m", "h1 = 0.502 m", "b = 0.64 m",
                              "r = 0.3 m", "α = 7°  δ = 4.0 cm", "0.25 m"}) {
        EXPECT_TRUE(p.allText.contains(QString::fromUtf8(label))) << label;
    }
    EXPECT_TRUE(p.allText.contains(QString::fromUtf8("U60形渠道构件")));
}

// A label's box in the drawing's own units: text-anchor and baseline as
// written, the width as the font's advance at most (a CJK character a full
// em, anything else 0.6 em), the height one em above the baseline.
struct Box {
    double left, right, top, bottom;
    bool Overlaps(const Box& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

std::vector<std::pair<QString, Box>> LabelBoxes(const std::string& svg) {
    std::vector<std::pair<QString, Box>> boxes;
    std::vector<QPointF> offsets{QPointF()};
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement && xml.name() == u"g") {
            QPointF o = offsets.back();
            const QString t = xml.attributes().value("transform").toString();
            if (t.startsWith("translate(")) {
                const QStringList xy = t.mid(10).chopped(1).split(',');
                o += QPointF(xy[0].toDouble(), xy[1].toDouble());
            }
            offsets.push_back(o);
        } else if (token == QXmlStreamReader::EndElement && xml.name() == u"g") {
            offsets.pop_back();
        } else if (token == QXmlStreamReader::StartElement && xml.name() == u"text") {
            const auto a = xml.attributes();
            const double x = offsets.back().x() + a.value("x").toDouble();
            const double y = offsets.back().y() + a.value("y").toDouble();
            const double size = a.value("font-size").toDouble();
            const QString anchor = a.value("text-anchor").toString();
            const QString text = xml.readElementText();
            double width = 0;
            for (const QChar c : text) {
                width += (c.unicode() >= 0x2E80 ? 1.0 : 0.6) * size;
            }
            const double left = anchor == "middle" ? x - width / 2
                                : anchor == "end"  ? x - width
                                                   : x;
            boxes.push_back({text, {left, left + width, y - size, y + size * 0.2}});
        }
    }
    return boxes;
}

// No two labels of a drawing overlap, and none stands outside the drawing,
// for every section with the depths close together or far apart, and with
// the check depth at the top of the channel.
TEST(Svg, LabelsNeverOverlapEachOtherOrLeaveTheDrawing) {
    for (const USection& s : SectionCatalogue) {
        for (const char* k : {"1.0", "1.05", "1.3", "2"}) {
            for (const char* q : {"0.05", "0.2", "0.6"}) {
                const auto outcome = RunCalculation(s, {q, "500", "0.017", k});
                const std::string svg = CrossSectionSvg({PanelFor(s, outcome)}, "t");
                const auto boxes = LabelBoxes(svg);
                ASSERT_GE(boxes.size(), 5u);
                for (std::size_t i = 0; i < boxes.size(); ++i) {
                    EXPECT_GE(boxes[i].second.left, 0) << boxes[i].first.toStdString();
                    EXPECT_LE(boxes[i].second.right, 600) << boxes[i].first.toStdString();
                    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                        EXPECT_FALSE(boxes[i].second.Overlaps(boxes[j].second))
                            << s.name << " Q " << q << " k " << k << ": "
                            << boxes[i].first.toStdString() << " / "
                            << boxes[j].first.toStdString();
                    }
                }
            }
        }
    }
}

// The water surface stands at the design depth on the drawing's scale: the
// first point of each outline is its left edge at the top.
TEST(Svg, WaterLineAtTheDesignDepth) {
    for (const USection& s : SectionCatalogue) {
        const auto outcome = RunCalculation(s, {"0.2", "500", "0.017", "1"});
        ASSERT_TRUE(outcome.isReport());
        const Parsed p = Parse(CrossSectionSvg({PanelFor(s, outcome)}, "t"));
        const QString name = QString::fromUtf8(s.name.data());
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
    EXPECT_EQ(p.elementCount.at("g"), 1 + 5 + 1);  // the fonts, the panels, the scale bar
    EXPECT_EQ(p.pathById.count("slab-U140"), 1u);
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
TEST(Svg, PngSizeIsTheViewBoxRoundedAtTwoPixelsAUnit) {
    // 600 × 432.01 units, as QSizeF::toSize() rounds them, twice over.
    EXPECT_EQ(PngSize(R"(<svg viewBox="0 0 600.00 432.01">)").width, 1200);
    EXPECT_EQ(PngSize(R"(<svg viewBox="0 0 600.00 432.01">)").height, 864);
    EXPECT_EQ(PngSize(R"(<svg viewBox="0 0 900.00 404.50">)").height, 810);
    for (const char* broken : {"<svg>", R"(<svg viewBox="0 0 600">)", R"(<svg viewBox="0 0 x 1">)",
                               R"(<svg viewBox="0 0 0 0">)", R"(<svg viewBox="0 0 -5 9">)"}) {
        EXPECT_EQ(PngSize(broken).width, 0) << broken;
        EXPECT_EQ(PngSize(broken).height, 0) << broken;
    }
}

TEST(Svg, WidthForLabelsKeepsTheSmallestLabelReadable) {
    // The smallest label, 12 units in a view 1000 wide, is 10 px at 834 px.
    EXPECT_EQ(WidthForLabels(R"(<svg viewBox="0 0 1000.00 402.91"><text font-size="16.50"/>)"
                             R"(<text font-size="12.00"/><text font-size="18"/></svg>)",
                             10),
              834);
    EXPECT_EQ(WidthForLabels(R"(<svg viewBox="0 0 600.00 400"><text font-size="12"/></svg>)", 12),
              600);
    EXPECT_EQ(WidthForLabels(R"(<svg viewBox="0 0 600.00 400"><path/></svg>)", 10), 0);
    EXPECT_EQ(WidthForLabels(R"(<svg><text font-size="12"/></svg>)", 10), 0);
}

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
