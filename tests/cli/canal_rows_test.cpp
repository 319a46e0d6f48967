// SPDX-License-Identifier: GPL-3.0-or-later
// A canal file as the canal sheet's rows, as sheet --batch and the page read it.
#include "cli/canal_rows.h"

#include <gtest/gtest.h>

namespace veltrane::cli {
namespace {

const sheet::ReachDetails kDefaults{.project = "某灌区",
                                    .channel = "总干渠",
                                    .station = "",
                                    .designer = "李工",
                                    .date = "2026年12月8日"};

TEST(CanalRows, AGoodRowIsARequestWithItsDetailsAndTheCriteria) {
    const DesignCriteria criteria{.minFreeboard = 0.05};
    const CanalReading r = ReadCanalRows(
        "name,station,size,discharge,slope,roughness,factor\n"
        "一支渠,0+000–1+200,u80,0.4,500,0.017,1.1\n"
        ",,U60,0.25,500,0.017,1\n",
        kDefaults, criteria);
    EXPECT_FALSE(r.problem);
    ASSERT_EQ(r.rows.size(), 2u);
    const sheet::CanalRow& first = r.rows[0];
    EXPECT_EQ(first.line, 2u);
    EXPECT_FALSE(first.problem);
    EXPECT_EQ(first.request.section.get(), &LookupSection(SectionSize::U80));
    EXPECT_EQ(first.request.discharge, "0.4");
    EXPECT_EQ(first.request.slope, "500");
    EXPECT_EQ(first.request.roughness, "0.017");
    EXPECT_EQ(first.request.factor, "1.1");
    EXPECT_EQ(first.request.reach.project, "某灌区");
    EXPECT_EQ(first.request.reach.channel, "一支渠");
    EXPECT_EQ(first.request.reach.station, "0+000–1+200");
    EXPECT_EQ(first.request.reach.designer, "李工");
    EXPECT_EQ(first.request.reach.date, "2026年12月8日");
    EXPECT_EQ(first.request.criteria.minFreeboard, 0.05);
    // Empty columns take the defaults.
    EXPECT_EQ(r.rows[1].request.reach.channel, "总干渠");
    EXPECT_EQ(r.rows[1].request.reach.station, "");
}

TEST(CanalRows, ABadRowKeepsItsNameAndChainage) {
    const CanalReading r = ReadCanalRows(
        "name,station,size,discharge,slope,roughness,factor,project\n"
        "二支渠,1+200–2+000,U70,0.25,500,0.017,1.0,二期\n",
        kDefaults, {});
    ASSERT_EQ(r.rows.size(), 1u);
    const sheet::CanalRow& bad = r.rows[0];
    EXPECT_EQ(bad.problem.kind, views::RowProblem::Kind::UnknownSize);
    EXPECT_EQ(bad.problem.line, 2u);
    EXPECT_EQ(bad.problem.size, "U70");
    EXPECT_EQ(bad.request.reach.channel, "二支渠");
    EXPECT_EQ(bad.request.reach.station, "1+200–2+000");
    EXPECT_EQ(bad.request.reach.project, "二期");
}

TEST(CanalRows, AMissingColumnIsTheFilesProblem) {
    const CanalReading r = ReadCanalRows("name,size,discharge,slope,roughness\n", kDefaults, {});
    ASSERT_TRUE(r.problem);
    EXPECT_EQ(views::FileProblemText(*r.problem, views::Language::English),
              "the batch header has no column 'factor'");
    EXPECT_TRUE(r.rows.empty());
}

}  // namespace
}  // namespace veltrane::cli
