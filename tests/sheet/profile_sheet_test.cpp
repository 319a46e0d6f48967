// SPDX-License-Identifier: GPL-3.0-or-later
// The water surface's calculation sheet as a checking engineer reads it:
// every chapter in order, one row per station, the failed checks marked and
// the conclusion saying so, the names as typed.
#include "sheet/profile_sheet.h"

#include <gtest/gtest.h>

#include "tests/canal/make_reach.h"

#include "canal/water_surface.h"
#include "sheet/html_writer.h"

namespace veltrane::sheet {
namespace {

using canal::testing::MakeReach;

std::vector<std::string> Headings(const Document& doc) {
    std::vector<std::string> out;
    for (const Block& b : doc.blocks) {
        if (const auto* h = std::get_if<Heading>(&b)) {
            out.push_back(std::to_string(h->level) + " " + h->text);
        }
    }
    return out;
}

std::vector<const Table*> Tables(const Document& doc) {
    std::vector<const Table*> out;
    for (const Block& b : doc.blocks) {
        if (const auto* t = std::get_if<Table>(&b)) {
            out.push_back(t);
        }
    }
    return out;
}

TEST(ProfileSheet, ChaptersStationsChecksAndConclusion) {
    ProfileSheetRequest request;
    request.canal.reaches = {MakeReach("一支渠", SectionSize::U80, 300, 1000, 0.017, 0.3),
                             MakeReach("二支渠", SectionSize::U60, 200, 500, 0.017, 0.2)};
    request.canal.factor = 1.2;
    request.canal.minFreeboard = 0.1;
    request.details.designer = "李工";
    const canal::CanalProfile profile = canal::ComputeProfile(request.canal);
    const Document doc = BuildProfileSheet(request, profile);
    const std::vector<std::string> expected = {"1 渠道水面线计算书",
                                               "3 计算依据",
                                               "2 一、基本资料",
                                               "2 二、计算方法",
                                               "2 三、各渠段正常水深与临界水深",
                                               "2 四、水面线计算成果",
                                               "3 设计流量 Q",
                                               "3 加大流量 kQ（k = 1.2）",
                                               "2 五、纵断面图",
                                               "2 六、校核",
                                               "2 七、结论"};
    EXPECT_EQ(Headings(doc), expected);
    const std::vector<const Table*> tables = Tables(doc);
    // Every row has a cell under each heading, and none beyond.
    for (const Table* t : tables) {
        for (const auto& row : t->rows) {
            if (!t->header.empty()) {
                EXPECT_EQ(row.size(), t->header.size()) << t->header.front();
            }
        }
    }
    // Title block, reaches, conditions, hn/hc, two station tables, checks.
    ASSERT_EQ(tables.size(), 7u);
    EXPECT_EQ(tables[1]->rows.size(), 2u);
    EXPECT_EQ(tables[1]->rows[1][1], "二支渠");
    EXPECT_EQ(tables[1]->rows[1][7], "-0.3（接上段）");  // 300 m at 1/1000 below 0
    EXPECT_EQ(tables[4]->rows.size(), profile.flows[0].stations.size());
    EXPECT_EQ(tables[5]->rows.size(), profile.flows[1].stations.size());
    EXPECT_EQ(tables[4]->rows.front()[0], "0+000");
    EXPECT_EQ(tables[4]->rows.back()[0], "0+500");
    // The checks: the freeboard at kQ falls short somewhere in a U60 at 0.24 m³/s.
    const Table& checks = *tables[6];
    bool anyFail = false;
    for (std::size_t i = 0; i < checks.rows.size(); ++i) {
        anyFail = anyFail || checks.rowTones[i] == Tone::Fail;
    }
    EXPECT_EQ(anyFail, !profile.checks.ok());
    const auto* conclusion = std::get_if<Paragraph>(&doc.blocks[doc.blocks.size() - 2]);
    ASSERT_NE(conclusion, nullptr);
    EXPECT_EQ(conclusion->tone, profile.checks.ok() ? Tone::Pass : Tone::Fail);
    const auto* signatures = std::get_if<Signatures>(&doc.blocks.back());
    ASSERT_NE(signatures, nullptr);
    EXPECT_EQ(signatures->lines[0].name, "李工");
}

TEST(ProfileSheet, AnOvertoppedStationIsMarkedAndNamesStayText) {
    ProfileSheetRequest request;
    request.canal.reaches = {MakeReach("<b>渠</b>&", SectionSize::U60, 400, 800, 0.017, 0.25)};
    const canal::CanalProfile profile = canal::ComputeProfile(request.canal);
    ASSERT_FALSE(profile.checks.overtopped.empty());
    const Document doc = BuildProfileSheet(request, profile);
    const Table& stations = *Tables(doc)[4];
    for (std::size_t i = 0; i < stations.rows.size(); ++i) {
        EXPECT_EQ(stations.rowTones[i], Tone::Fail) << stations.rows[i][0];
    }
    const std::string html = WriteHtml(doc);
    EXPECT_EQ(html.find("<b>渠</b>"), std::string::npos);
    EXPECT_NE(html.find("&lt;b&gt;渠&lt;/b&gt;&amp;"), std::string::npos);
}

}  // namespace
}  // namespace veltrane::sheet
