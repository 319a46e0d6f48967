// SPDX-License-Identifier: GPL-3.0-or-later
// The longitudinal profile drawing, read back as XML: one polyline per line
// through every station, in the frame's order of levels; red where the water
// stands above the top; the reaches' names as text, whatever they hold.
#include "sheet/profile_svg.h"

#include <gtest/gtest.h>

#include "tests/canal/make_reach.h"

#include <QRegularExpression>
#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "canal/water_surface.h"

namespace veltrane::sheet {
namespace {

using canal::testing::MakeReach;

using canal::CanalRequest;
using canal::Reach;

struct Label {
    QString text{};
    double x = 0, y = 0, size = 0;  // the anchor and the font size, mm
    QString anchor{};
};

struct Drawing {
    std::map<QString, std::vector<std::pair<double, double>>> lines;  // by id
    std::vector<QString> texts;
    std::vector<Label> labels;
    int redLines = 0;
    double width = 0, height = 0;  // the view box, mm
};

Drawing Read(const std::string& svg) {
    Drawing d;
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto a = xml.attributes();
        if (xml.name() == u"polyline") {
            auto& points = d.lines[a.value("id").toString()];
            for (const QString& p : a.value("points").toString().split(' ')) {
                const QStringList xy = p.split(',');
                points.emplace_back(xy[0].toDouble(), xy[1].toDouble());
            }
        } else if (xml.name() == u"svg") {
            const QStringList box = a.value("viewBox").toString().split(' ');
            d.width = box.value(2).toDouble();
            d.height = box.value(3).toDouble();
        } else if (xml.name() == u"text") {
            Label label{.x = a.value("x").toDouble(),
                        .y = a.value("y").toDouble(),
                        .size = a.value("font-size").toDouble(),
                        .anchor = a.value("text-anchor").toString()};
            label.text = xml.readElementText();
            d.texts.push_back(label.text);
            d.labels.push_back(label);
        } else if (xml.name() == u"line" && a.value("stroke") == u"#d00") {
            ++d.redLines;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return d;
}

TEST(ProfileSvg, EachLineThroughEveryStationWithTheWaterBetweenBedAndTop) {
    CanalRequest request;
    request.reaches = {MakeReach("上段", SectionSize::U80, 400, 1000, 0.017, 0.22),
                       MakeReach("下段", SectionSize::U60, 300, 500, 0.017, 0.2)};
    request.factor = 1.2;
    const canal::CanalProfile profile = canal::ComputeProfile(request);
    const Drawing d = Read(LongitudinalProfileSvg(request, profile));
    const std::size_t stations = profile.flows[0].stations.size();
    for (const char* id : {"bed", "top", "design", "check"}) {
        ASSERT_EQ(d.lines.at(id).size(), stations) << id;
    }
    // SVG's y grows downward: the bed lowest on paper, then the water, the top.
    for (std::size_t i = 0; i < stations; ++i) {
        EXPECT_GT(d.lines.at("bed")[i].second, d.lines.at("design")[i].second);
        EXPECT_GT(d.lines.at("design")[i].second, d.lines.at("check")[i].second);
        EXPECT_GT(d.lines.at("check")[i].second, d.lines.at("top")[i].second);
        EXPECT_DOUBLE_EQ(d.lines.at("bed")[i].first, d.lines.at("design")[i].first);
    }
    EXPECT_EQ(d.redLines, 0);
    for (const char* word : {"纵断面图", "上段", "下段", "U80", "U60", "1/1000", "1/500", "0+000",
                             "0+700", "设计水面线", "加大水面线"}) {
        EXPECT_NE(std::find(d.texts.begin(), d.texts.end(), QString::fromUtf8(word)), d.texts.end())
            << word;
    }
}

TEST(ProfileSvg, OvertoppingIsRedAndNamesStayText) {
    const std::string hostile = "<script>&\"'\x01]]>";
    CanalRequest request;
    request.reaches = {
        MakeReach(hostile, SectionSize::U60, 800, 800, 0.017, 0.25)};  // deeper than H
    const canal::CanalProfile profile = canal::ComputeProfile(request);
    ASSERT_FALSE(profile.checks.overtopped.empty());
    const std::string svg = LongitudinalProfileSvg(request, profile);
    const Drawing d = Read(svg);
    EXPECT_GT(d.redLines, 0);
    EXPECT_NE(std::find(d.texts.begin(), d.texts.end(), QString::fromUtf8("<script>&\"'\uFFFD]]>")),
              d.texts.end());
    EXPECT_EQ(d.lines.count("check"), 0u);  // k = 1: one flow drawn
    EXPECT_EQ(svg.find("<script>"), std::string::npos);
}

// The levels at the two ends stand clear above every line under them, also
// where the lines fall steeply toward the end; the sheet's drawing has the
// proportions of a portrait page's text.
TEST(ProfileSvg, TheEndLevelsStandClearOfTheLines) {
    CanalRequest request;
    request.reaches = {MakeReach("陡段", SectionSize::U60, 300, 100, 0.017, 0.2),
                       MakeReach("末段", SectionSize::U60, 60, 100, 0.017, 0.2)};
    const canal::CanalProfile profile = canal::ComputeProfile(request);
    for (const ProfilePaper paper : {ProfilePaper::Landscape, ProfilePaper::Portrait}) {
        const Drawing d = Read(LongitudinalProfileSvg(request, profile, paper));
        EXPECT_EQ(d.width, paper == ProfilePaper::Landscape ? 277 : 170);
        const double ends[] = {profile.flows[0].stations.front().level,
                               profile.flows[0].stations.back().level};
        for (const double level : ends) {
            const QString text = QString::number(std::round(level * 1000) / 1000, 'f', 3)
                                     .remove(QRegularExpression("\\.?0+$"));
            const auto label = std::find_if(d.labels.begin(), d.labels.end(),
                                            [&](const Label& l) { return l.text == text; });
            ASSERT_NE(label, d.labels.end()) << text.toStdString();
            // Digits are about half the font size wide.
            const double span = text.size() * label->size * 0.55;
            const double x0 = label->anchor == u"end" ? label->x - span : label->x;
            const double x1 = x0 + span;
            for (const auto& [id, points] : d.lines) {
                for (std::size_t i = 1; i < points.size(); ++i) {
                    const auto [xa, ya] = points[i - 1];
                    const auto [xb, yb] = points[i];
                    for (double x = std::max(x0, xa); x <= std::min(x1, xb); x += 0.1) {
                        const double y = ya + (yb - ya) * (x - xa) / (xb - xa);
                        EXPECT_GT(y, label->y)
                            << id.toStdString() << " under " << text.toStdString();
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace veltrane::sheet
