// SPDX-License-Identifier: GPL-3.0-or-later
// The batch result as the page takes it: headings, each row's cells and its
// problem as a value, and a file's problem as a value.
#include "cli/batch_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrane::cli {
namespace {

using Cells = std::vector<std::string>;
using views::FileProblem;
using views::RowProblem;

TEST(BatchTable, HeadingsAreTheCsvHeader) {
    std::string joined;
    for (std::string_view h : kBatchResultColumns) {
        joined += std::string(joined.empty() ? "" : ",") + std::string(h);
    }
    EXPECT_EQ(joined,
              "size,discharge,slope,roughness,factor,status,check_discharge,design_depth,"
              "check_depth,velocity,surface_width,area,wetted_perimeter,hydraulic_radius,chezy,"
              "message");
}

TEST(BatchTable, EachRowsCellsAndProblem) {
    const BatchTable t = RunBatchTable(
        "size,discharge,slope,roughness,factor\n"
        "U60,0.25,500,0.017,1.0\n"
        "U60,0.3,500,0.017,1.0\n"
        "U70,0.25,500,0.017,1.0\n"
        "U60,0.25\n");
    EXPECT_FALSE(t.problem);
    ASSERT_EQ(t.rows.size(), 4u);
    EXPECT_EQ(t.rows[0].cells,
              (Cells{"U60", "0.25", "500", "0.017", "1.0", "report", ".25", ".516", ".516", ".904",
                     ".657", ".277", "1.376", ".201", "45.034", ""}));
    EXPECT_FALSE(t.rows[0].problem);
    EXPECT_EQ(t.rows[1].cells,
              (Cells{"U60", "0.3", "500", "0.017", "1.0", "message", "", "", "", "", "", "", "", "",
                     "", "设计水深已大于渠深,请选用其他U形渠道构件。"}));
    EXPECT_EQ(t.rows[2].cells, (Cells{"U70", "0.25", "500", "0.017", "1.0", "error", "", "", "", "",
                                      "", "", "", "", "", "line 4: unknown size 'U70'"}));
    EXPECT_EQ(t.rows[2].problem.kind, RowProblem::Kind::UnknownSize);
    EXPECT_EQ(t.rows[2].problem.line, 4u);
    EXPECT_EQ(t.rows[2].problem.size, "U70");
    EXPECT_EQ(views::RowProblemText(t.rows[2].problem, views::Language::Chinese),
              "第 4 行：无此规格“U70”（可用 U60、U80、U100、U120、U140）");
    EXPECT_EQ(t.rows[3].cells.back(), "line 5: 2 fields, the header has 5");
    EXPECT_EQ(t.rows[3].problem.kind, RowProblem::Kind::FieldCount);
    EXPECT_EQ(t.rows[3].problem.count, 2u);
    EXPECT_EQ(t.rows[3].problem.width, 5u);
}

TEST(BatchTable, AFilesProblemIsAValueAndNoRows) {
    const BatchTable missing = RunBatchTable("size,discharge,slope,factor\nU60,0.25,500,1\n");
    ASSERT_TRUE(missing.problem);
    EXPECT_EQ(missing.problem->kind, FileProblem::Kind::MissingColumn);
    EXPECT_EQ(missing.problem->column, "roughness");
    EXPECT_TRUE(missing.rows.empty());

    const BatchTable twice = RunBatchTable("Size,discharge,slope,roughness,factor, SIZE \n");
    ASSERT_TRUE(twice.problem);
    EXPECT_EQ(twice.problem->kind, FileProblem::Kind::DuplicateColumn);
    EXPECT_EQ(twice.problem->column, "size");

    const BatchTable empty = RunBatchTable("");
    ASSERT_TRUE(empty.problem);
    EXPECT_EQ(empty.problem->kind, FileProblem::Kind::Empty);
}

}  // namespace
}  // namespace veltrane::cli
