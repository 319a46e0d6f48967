// SPDX-License-Identifier: GPL-3.0-or-later
// What a checking engineer reads the sheet for: it never compares a number
// with itself, prints no floating-point artefact, concludes no more than it
// checked, and labels the Froude number with the depth it is computed at.
#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "sheet/sheet_builder.h"
#include "tests/sheet/table_rows.h"

namespace veltrane::sheet {
namespace {

SheetRequest Reach(SectionSize size, std::string q, std::string x, std::string n, std::string k,
                   DesignCriteria criteria = {}) {
    return {.section = StandardRef(size),
            .discharge = std::move(q),
            .slope = std::move(x),
            .roughness = std::move(n),
            .factor = std::move(k),
            .reach = {.date = "2026年12月8日"},
            .criteria = criteria};
}

// Every text a reader sees, one per entry: paragraphs, headings, cells.
std::vector<std::string> Texts(const Document& doc) {
    std::vector<std::string> texts;
    for (const Block& b : doc.blocks) {
        if (const auto* p = std::get_if<Paragraph>(&b)) {
            texts.push_back(p->text);
        } else if (const auto* h = std::get_if<Heading>(&b)) {
            texts.push_back(h->text);
        } else if (const auto* t = std::get_if<Table>(&b)) {
            for (const auto& row : t->rows) {
                texts.insert(texts.end(), row.begin(), row.end());
            }
        }
    }
    return texts;
}

std::string Joined(const Document& doc) {
    std::string all;
    for (const std::string& t : Texts(doc)) {
        all += t + "\n";
    }
    return all;
}

using test::Row;

using Cells = std::vector<std::string>;

// At U60, 1/500, n 0.017 the deepest depth tried within H = 0.54 m is 0.539 m.
// 0.268 m³/s is passed there, but the result depth one step above it is past
// H; 0.3 m³/s is not reached within H at all. Neither says "0.54 > 0.54".
TEST(TruthfulSheet, AnOverflowIsSaidWithTheNumbersThatDecideIt) {
    const Document reaches = BuildSheet(Reach(SectionSize::U60, "0.268", "500", "0.017", "1.0"));
    EXPECT_EQ(Row(reaches, "设计水深 h"),
              (Cells{"设计水深 h", "0.54 m（= H，无超高）",
                     "≤ H = 0.54 m（按逐步累加值，末位超出）", "不满足"}));
    EXPECT_NE(
        Joined(reaches).find("成果水深 0.539 + 0.001 = 0.54 m，与渠深 H = 0.54 m 相同，没有超"
                             "高；程序以逐步累加的水深与渠深比较，其累加值略大于 H，故判为超过"
                             "渠深。"),
        std::string::npos);
    const Document short_ = BuildSheet(Reach(SectionSize::U60, "0.25", "500", "0.017", "1.2"));
    EXPECT_EQ(
        Row(short_, "校核水深 h1"),
        (Cells{"校核水深 h1", "渠深内最大 0.2685 m³/s（h′ = 0.539 m）", "> 0.3 m³/s", "不满足"}));
    for (const Document* doc : {&reaches, &short_}) {
        const std::string all = Joined(*doc);
        EXPECT_EQ(all.find("0.54 m，大于渠深 H = 0.54 m"), std::string::npos) << all;
        EXPECT_EQ(all.find("0.54 m ≤ H = 0.54 m"), std::string::npos) << all;
    }
}

// No number in any text carries more digits than its stated rounding: no
// 0.22499999999999998, no 1.3500000000000001e-12, over random inputs.
TEST(TruthfulSheet, EveryNumberHasItsStatedRounding) {
    const Document u140 = BuildSheet(Reach(SectionSize::U140, "0.15", "2000", "0.016", "1.5"));
    EXPECT_NE(Joined(u140).find("2. 校核水深（目标流量 0.225 m³/s）"), std::string::npos);
    const Document tiny = BuildSheet(Reach(SectionSize::U60, "1e-12", "500", "0.017", "1.35"));
    EXPECT_EQ(Row(tiny, "加大流量"), (Cells{"加大流量", "kQ", "1.35×10⁻¹²", "m³/s", "校核流量"}));

    const std::regex artefact(R"(\d\.\d{7,}|\d[eE][-+]?\d)");
    std::mt19937 random(19);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int i = 0; i < 200; ++i) {
        const auto size = static_cast<SectionSize>(i % kSectionCount);
        const std::string q = std::to_string(unit(random) * 3);
        const std::string x = std::to_string(10 + static_cast<int>(unit(random) * 5000));
        const std::string k = std::to_string(1 + unit(random));
        const Document doc = BuildSheet(Reach(size, q, x, "0.0145", k, {.minFreeboard = 0.05}));
        for (const std::string& text : Texts(doc)) {
            // The echoed input texts ("输入“0.123456”") are the user's own,
            // and π is stated with the digits the calculation uses.
            if (text.rfind("输入“", 0) == 0 || text.rfind("π 取", 0) == 0) {
                continue;
            }
            EXPECT_FALSE(std::regex_search(text, artefact)) << text << " for Q " << q << " k " << k;
        }
    }
}

// 1/10 and n 0.01 carry 0.7 m³/s at V = 7.655 m/s, supercritical: with no
// criterion given, the sheet says what it checked and claims nothing more.
TEST(TruthfulSheet, TheConclusionClaimsOnlyWhatWasChecked) {
    const Document none = BuildSheet(Reach(SectionSize::U60, "0.7", "10", "0.01", "1.0"));
    const std::string all = Joined(none);
    EXPECT_EQ(all.find("满足设计要求"), std::string::npos) << all;
    EXPECT_NE(all.find("U60形渠道构件能通过设计流量 Q = 0.7 m³/s 与校核流量 kQ = 0.7 m³/s："
                       "设计水深 h = 0.218 m、校核水深 h1 = 0.218 m，均不超过渠深 H = 0.54 m。\n"
                       "未给定安全超高与流速准则，未作相应校核；本计算书不对设计准则作出判定。\n"
                       "设计水深处 Fr = 6.007 ≥ 1，为急流；急流渠段的衔接与消能须另行校核。"),
              std::string::npos)
        << all;

    const Document met =
        BuildSheet(Reach(SectionSize::U60, "0.25", "500", "0.017", "1.0", {.minFreeboard = 0.02}));
    const std::string metText = Joined(met);
    EXPECT_NE(metText.find("给定的设计准则（安全超高）均满足，满足设计要求。\n"
                           "未给定流速下限、流速上限准则，未作校核。"),
              std::string::npos)
        << metText;

    const Document missed =
        BuildSheet(Reach(SectionSize::U60, "0.25", "500", "0.017", "1.0", {.minFreeboard = 0.05}));
    EXPECT_NE(Joined(missed).find("U60形渠道构件不满足设计要求：安全超高（校核流量 kQ）0.024 m，"
                                  "要求 ≥ 0.05 m。"),
              std::string::npos);
}

// At 1/100, n 0.014, 0.002 m³/s stands at h = 0.027 m; there, with the
// design discharge, Fr is 1.048 (one step below, with that step's
// discharge, it would be 1.139).
TEST(TruthfulSheet, TheFroudeNumberIsAtTheDepthItIsLabelledWith) {
    const Document doc = BuildSheet(Reach(SectionSize::U60, "0.002", "100", "0.014", "1.0"));
    EXPECT_EQ(Row(doc, "弗劳德数 Fr（设计水深 h，设计流量 Q）"),
              (Cells{"弗劳德数 Fr（设计水深 h，设计流量 Q）", "1.048", "Fr < 1 为缓流", "急流"}));
    const std::string all = Joined(doc);
    EXPECT_NE(all.find("Fr = V/√(g·A/b)，V = Q/A，A、b 取设计水深 h 处的数值，g = 9.81 m/s²"),
              std::string::npos);
    EXPECT_NE(all.find("Q²·b/(g·A³) = 1"), std::string::npos);
}

}  // namespace
}  // namespace veltrane::sheet
