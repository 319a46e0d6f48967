// SPDX-License-Identifier: GPL-3.0-or-later
// A batch or canal file's problems: English for the command line, exactly as
// scripts have read them, and Chinese for the page and the canal sheet.
#include <gtest/gtest.h>

#include "views/batch_problems.h"

namespace veltrane::views {
namespace {

TEST(RowProblemText, EachKindInBothVoices) {
    const struct {
        RowProblem problem;
        const char* english;
        const char* chinese;
    } cases[] = {
        {{.kind = RowProblem::Kind::UnknownSize, .line = 3, .size = "U70"},
         "line 3: unknown size 'U70'",
         "第 3 行：无此规格“U70”（可用 U60、U80、U100、U120、U140）"},
        {{.kind = RowProblem::Kind::UnclosedQuote, .line = 7},
         "line 7: a quoted field is not closed",
         "第 7 行：引号内的内容没有结束引号"},
        {{.kind = RowProblem::Kind::TooLong, .line = 2, .width = 1048576},
         "line 2: longer than 1048576 bytes",
         "第 2 行：长于 1048576 字节"},
        {{.kind = RowProblem::Kind::FieldCount, .line = 4, .count = 4, .width = 5},
         "line 4: 4 fields, the header has 5",
         "第 4 行：有 4 项，第一行有 5 项"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RowProblemText(c.problem, Language::English), c.english);
        EXPECT_EQ(RowProblemText(c.problem, Language::Chinese), c.chinese);
    }
    EXPECT_EQ(RowProblemReason(cases[0].problem, Language::Chinese),
              "无此规格“U70”（可用 U60、U80、U100、U120、U140）");
    EXPECT_FALSE(RowProblem{});
}

TEST(FileProblemText, EachKindInBothVoices) {
    EXPECT_EQ(FileProblemText({.kind = FileProblem::Kind::Empty}, Language::English),
              "the batch file is empty; its first row must name the columns "
              "size,discharge,slope,roughness,factor");
    EXPECT_EQ(FileProblemText({.kind = FileProblem::Kind::Empty}, Language::Chinese),
              "文件是空的：第一行须列出各列的名称 size,discharge,slope,roughness,factor。");
    const FileProblem missing{.kind = FileProblem::Kind::MissingColumn, .column = "size"};
    EXPECT_EQ(FileProblemText(missing, Language::English), "the batch header has no column 'size'");
    EXPECT_EQ(FileProblemText(missing, Language::Chinese),
              "第一行缺少“size”列；须有 size,discharge,slope,roughness,factor 各列。");
    const FileProblem twice{.kind = FileProblem::Kind::DuplicateColumn, .column = "slope"};
    EXPECT_EQ(FileProblemText(twice, Language::English),
              "the batch header names the column 'slope' twice");
    EXPECT_EQ(FileProblemText(twice, Language::Chinese), "第一行两次列出“slope”列。");
}

}  // namespace
}  // namespace veltrane::views
