// SPDX-License-Identifier: GPL-3.0-or-later
// Every text the views give the program, the page and the documents is
// Chinese: its only ASCII words are units, symbols, sizes and formats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/views/chinese.h"
#include "views/batch_problems.h"
#include "views/batch_table_text.h"
#include "views/calculation_layout.h"
#include "views/criteria.h"
#include "views/design_aid_text.h"
#include "views/file_errors.h"
#include "views/input_encoding.h"

namespace veltrane::views {
namespace {

using testing::ForeignWord;
using testing::Without;

TEST(Chinese, TheCheckSeesEnglish) {
    EXPECT_EQ(ForeignWord("流速 .142 m/s 小于 0.5 m/s"), "");
    EXPECT_EQ(ForeignWord("U140形渠道构件，Q = 1.2 m³/s"), "");
    EXPECT_EQ(ForeignWord("the velocity, .142 m/s"), "the");
    EXPECT_EQ(ForeignWord("第 3 行：unknown size 'U70'"), "unknown");
    EXPECT_EQ(Without("最大流速“abc”无效", "abc"), "最大流速“”无效");
}

TEST(Chinese, CriteriaRefusals) {
    for (const char* typed : {"abc", "3 m/s", "-1", "1,5"}) {
        for (std::size_t f = 0; f < 3; ++f) {
            CriteriaTexts texts;
            texts[f] = typed;
            const CriteriaReading r = ReadCriteria(texts);
            ASSERT_FALSE(r.ok()) << typed;
            const std::string text = ProblemsText(r.problems, Language::Chinese);
            EXPECT_NE(text.find(typed), std::string::npos) << text;  // names the text
            EXPECT_EQ(ForeignWord(Without(text, typed)), "") << text;
        }
    }
    EXPECT_EQ(ForeignWord(ProblemsText(ReadCriteria({"", "2", "1"}).problems, Language::Chinese)),
              "");
    for (std::string_view fixed : {kNothingWhileRefused, kFitUnderCriteria, kAidsUnderCriteria}) {
        EXPECT_EQ(ForeignWord(fixed), "") << fixed;
    }
}

TEST(Chinese, EveryFileErrorTheSystemCanGive) {
    for (int errnum = 0; errnum < 140; ++errnum) {
        for (FileAction action : {FileAction::Read, FileAction::Write}) {
            const std::string text =
                FileErrorText(action, "/tmp/out.pdf", errnum, Language::Chinese);
            EXPECT_EQ(ForeignWord(Without(text, "/tmp/out.pdf")), "") << text;
        }
    }
}

TEST(Chinese, BatchAndCanalProblems) {
    std::vector<std::string> texts;
    for (auto kind : {RowProblem::Kind::UnclosedQuote, RowProblem::Kind::TooLong,
                      RowProblem::Kind::FieldCount, RowProblem::Kind::UnknownSize}) {
        texts.push_back(
            Without(RowProblemText({.kind = kind, .line = 2, .count = 3, .width = 5, .size = "D70"},
                                   Language::Chinese),
                    "D70"));
    }
    for (auto kind : {FileProblem::Kind::Empty, FileProblem::Kind::DuplicateColumn,
                      FileProblem::Kind::MissingColumn}) {
        texts.push_back(FileProblemText({.kind = kind, .column = "factor"}, Language::Chinese));
    }
    texts.push_back(EncodingNotice(DecodeInput("\xC7\xFE"), "a.csv", Language::Chinese));
    for (const std::string& t : texts) {
        EXPECT_EQ(ForeignWord(t), "") << t;
    }
}

TEST(Chinese, TheBatchTablesHeadingsAndStatuses) {
    for (std::string_view heading : kBatchHeadings) {
        EXPECT_EQ(ForeignWord(heading), "") << heading;
    }
    EXPECT_EQ(BatchStatusText("report"), "计算成果");
    EXPECT_EQ(BatchStatusText("message"), "程序提示");
    EXPECT_EQ(BatchStatusText("error"), "无法计算");
}

TEST(Chinese, DesignAidReasonsForEveryCombination) {
    using Where = ServeFailure::Where;
    using Why = ServeFailure::Why;
    for (auto where : {Where::SmallestDischarge, Where::LargestFitting, Where::SteepestSlope,
                       Where::EveryCarryingSlope, Where::NoWholeSlope}) {
        for (auto why : {Why::None, Why::DesignDepthAboveH, Why::CheckDepthAboveH,
                         Why::FreeboardBelow, Why::VelocityBelow, Why::VelocityAbove}) {
            const ServeFailure f{.where = where,
                                 .why = why,
                                 .value = 0.1,
                                 .limit = 0.5,
                                 .channelDepth = 0.54,
                                 .discharge = "0.1",
                                 .slope = 300};
            const std::string text = ServeFailureText(f, Language::Chinese);
            EXPECT_FALSE(text.empty());
            EXPECT_EQ(ForeignWord(text), "") << text;
        }
    }
}

TEST(Chinese, TheWindowsLabels) {
    for (const USection& s : SectionCatalogue) {
        for (const FrameLabel& label : LayoutFor(*s.standard).labels) {
            EXPECT_EQ(ForeignWord(label.caption), "") << label.caption;
        }
        EXPECT_EQ(ForeignWord(LayoutFor(*s.standard).exitTooltip), "");
    }
    EXPECT_EQ(ForeignWord(kFactorTooltip), "");
}

}  // namespace
}  // namespace veltrane::views
