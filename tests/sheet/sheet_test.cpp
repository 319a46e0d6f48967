// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet's content: its numbers against the report and against fit, a
// rejected input, and a canal with a bad row.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sheet/sheet_builder.h"
#include "tests/sheet/table_rows.h"

namespace veltrane::sheet {
namespace {

SheetRequest Request(SectionSize size, std::string q, std::string k = "1.0") {
    return {.section = StandardRef(size),
            .discharge = std::move(q),
            .slope = "500",
            .roughness = "0.017",
            .factor = std::move(k),
            .reach = {.date = "2026年12月8日"}};
}

template <typename T>
std::vector<const T*> All(const Document& doc) {
    std::vector<const T*> out;
    for (const Block& b : doc.blocks) {
        if (const auto* t = std::get_if<T>(&b)) {
            out.push_back(t);
        }
    }
    return out;
}

bool HasHeading(const Document& doc, std::string_view text) {
    const auto headings = All<Heading>(doc);
    return std::any_of(headings.begin(), headings.end(),
                       [&](const Heading* h) { return h->text == text; });
}

std::string AllParagraphs(const Document& doc) {
    std::string text;
    for (const Paragraph* p : All<Paragraph>(doc)) {
        text += p->text + "\n";
    }
    return text;
}

using test::Row;

// U60 with the default inputs: the worked example, in ordinary notation.
TEST(Sheet, ResultsAreTheReportsNumbers) {
    const Document doc = BuildSheet(Request(SectionSize::U60, "0.25"));
    using Cells = std::vector<std::string>;
    EXPECT_EQ(Row(doc, "成果水深"), (Cells{"成果水深", "h、h1", "0.516", "0.516", "m"}));
    EXPECT_EQ(Row(doc, "过水面积"), (Cells{"过水面积", "A", "0.277", "0.277", "m²"}));
    EXPECT_EQ(Row(doc, "湿周"), (Cells{"湿周", "χ", "1.376", "1.376", "m"}));
    EXPECT_EQ(Row(doc, "水力半径"), (Cells{"水力半径", "R", "0.201", "0.201", "m"}));
    EXPECT_EQ(Row(doc, "谢才系数"), (Cells{"谢才系数", "C", "45.034", "45.034", "m^{1/2}/s"}));
    EXPECT_EQ(Row(doc, "流速"), (Cells{"流速", "V", "0.904", "0.904", "m/s"}));
    EXPECT_EQ(Row(doc, "水面宽度"), (Cells{"水面宽度", "b", "0.657", "0.657", "m"}));
    EXPECT_EQ(Row(doc, "计算水深"), (Cells{"计算水深", "h′", "0.515", "0.515", "m"}));
    const auto verbatim = All<Verbatim>(doc);
    ASSERT_EQ(verbatim.size(), 1u);
    EXPECT_EQ(verbatim[0]->text,
              "显示计算成果： U60形渠道构件。 \n校核流量：Q = .25\n\n设计水深：h = .516\n\n"
              "校核水深：h1= .516\n\n流    速：V = .904\n\n水面宽度：b = .657\n\n过水面积：A = "
              ".277\n\n湿    周：X = 1.376\n\n水力半径：R = .201\n\n谢才系数：C = 45.034");
    EXPECT_EQ(All<Drawing>(doc).size(), 1u);
    EXPECT_EQ(All<Signatures>(doc).size(), 1u);
}

// The working shows the step where the discharge first exceeds the target
// and the step before it.
TEST(Sheet, WorkingBracketsTheTarget) {
    const Document doc = BuildSheet(Request(SectionSize::U60, "0.2", "1.2"));
    const auto tables = All<Table>(doc);
    std::vector<std::vector<std::string>> bracket;
    for (const Table* t : tables) {
        if (!t->header.empty() && t->header[0] == "水深 h (m)") {
            bracket.insert(bracket.end(), t->rows.begin(), t->rows.end());
        }
    }
    ASSERT_EQ(bracket.size(), 4u);
    EXPECT_EQ(bracket[0][0], "0.445");
    EXPECT_EQ(bracket[1][0], "0.446");
    EXPECT_EQ(bracket[2][0], "0.5");
    EXPECT_EQ(bracket[3][0], "0.501");
    EXPECT_LE(std::stod(bracket[0][1]), 0.2);
    EXPECT_GT(std::stod(bracket[1][1]), 0.2);
    EXPECT_LE(std::stod(bracket[2][1]), 0.24);
    EXPECT_GT(std::stod(bracket[3][1]), 0.24);
    EXPECT_NE(AllParagraphs(doc).find("成果水深 h1 = 0.501 + 0.001 = 0.502 m。"),
              std::string::npos);
}

// A check overflow: no report, and the conclusion names what fit chooses.
TEST(Sheet, AFailedSectionNamesTheSmallestThatFits) {
    const Document doc = BuildSheet(Request(SectionSize::U60, "0.25", "1.2"));
    const std::string text = AllParagraphs(doc);
    EXPECT_NE(text.find("U60形渠道构件不满足设计要求：渠深 H = 0.54 m 以内最深的试算水深 "
                        "0.539 m 处计算流量为 0.2685 m³/s，不大于校核流量 0.3 m³/s，该断面在"
                        "渠深以内不能通过校核流量。"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("满足要求的最小标准断面为U80形渠道构件。"), std::string::npos);
    EXPECT_TRUE(All<Verbatim>(doc).empty());
    EXPECT_EQ(Row(doc, "校核水深 h1")[3], "不满足");
}

// With a freeboard of 0.2 m, U80 (.165) no longer serves and U100 (.33) does.
TEST(Sheet, CriteriaDecideTogetherWithFit) {
    SheetRequest r = Request(SectionSize::U80, "0.25", "1.2");
    r.criteria.minFreeboard = 0.2;
    const Document doc = BuildSheet(r);
    EXPECT_EQ(Row(doc, "安全超高 H − h1"),
              (std::vector<std::string>{"安全超高 H − h1", "0.165 m", "≥ 0.2 m", "不满足"}));
    EXPECT_NE(AllParagraphs(doc).find("最小标准断面为U100形渠道构件。"), std::string::npos);
    r.criteria.minFreeboard = 0.165;  // met exactly, as printed
    EXPECT_EQ(Row(BuildSheet(r), "安全超高 H − h1")[3], "满足");
}

TEST(Sheet, ARejectedInputIsAllItSays) {
    SheetRequest r = Request(SectionSize::U60, "0.25");
    r.roughness = "abc";
    const Document doc = BuildSheet(r);
    EXPECT_TRUE(HasHeading(doc, "输入被拒绝"));
    const std::string text = AllParagraphs(doc);
    EXPECT_NE(text.find("糙率不能为0或负数，请重新输入。"), std::string::npos);
    EXPECT_NE(text.find("涉及输入：糙率 n，输入文字为“abc”。"), std::string::npos);
    EXPECT_FALSE(HasHeading(doc, "四、计算成果"));
    EXPECT_TRUE(All<Drawing>(doc).empty());
    EXPECT_TRUE(All<Verbatim>(doc).empty());
}

TEST(Canal, ABadRowIsASummaryRowAndTheRestGoOn) {
    std::vector<CanalRow> rows(3);
    rows[0] = {.line = 2, .request = Request(SectionSize::U60, "0.25")};
    rows[0].request.reach.channel = "一支渠";
    rows[1] = {.line = 3,
               .problem = {.kind = views::RowProblem::Kind::UnknownSize, .line = 3, .size = "U70"}};
    rows[1].request.reach.channel = "二支渠";
    rows[1].request.reach.station = "1+200–2+000";
    rows[2] = {.line = 4, .request = Request(SectionSize::U60, "0.3")};
    const Document doc = BuildCanal(rows);
    const Table* summary = All<Table>(doc)[1];  // after the title block
    ASSERT_EQ(summary->rows.size(), 3u);
    using Cells = std::vector<std::string>;
    EXPECT_EQ(summary->rows[0], (Cells{"1", "一支渠", "", "U60", "0.25", "0.25", "0.516", "0.516",
                                       "0.904", "0.024", "水深未超渠深（未给准则）"}));
    // A bad row keeps its name and chainage, and says what is wrong in Chinese.
    EXPECT_EQ(summary->rows[1],
              (Cells{"2", "二支渠", "1+200–2+000", "", "", "", "", "", "", "",
                     "未计算：无此规格“U70”（可用 U60、U80、U100、U120、U140）（文件第 3 行）"}));
    EXPECT_EQ(summary->rows[2].back(), "不满足：设计水深大于渠深");
    EXPECT_EQ(All<PageBreak>(doc).size(), 2u);
    EXPECT_EQ(All<Drawing>(doc).size(), 2u);
}

// A reach whose texts are refused is listed but not counted as calculated,
// and the canal's first page has the title block of the document.
TEST(Canal, ARefusedReachIsNotCountedAsCalculated) {
    std::vector<CanalRow> rows(2);
    rows[0] = {.line = 2, .request = Request(SectionSize::U60, "0.25")};
    rows[0].request.reach.project = "东干渠";
    rows[0].request.reach.unit = "某院";
    rows[0].request.reach.channel = "一支渠";
    rows[1] = {.line = 3, .request = Request(SectionSize::U60, "abc")};
    const Document doc = BuildCanal(rows);
    EXPECT_NE(AllParagraphs(doc).find("共 2 行，计算 1 段。"), std::string::npos);
    const Table* title = All<Table>(doc)[0];
    using Cells = std::vector<std::string>;
    EXPECT_EQ(title->rows[0], (Cells{"工程名称", "东干渠", "设计单位", "某院"}));
    EXPECT_EQ(title->rows[2], (Cells{"渠道名称", "", "桩号", ""}));
    EXPECT_EQ(All<Table>(doc)[1]->rows[1].back(), "输入被拒绝：设计流量不能为0或负数，请重新输入");
}

}  // namespace
}  // namespace veltrane::sheet
