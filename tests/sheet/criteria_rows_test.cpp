// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet's checks against the criteria: which way each limit points, and
// that every word around the numbers is Chinese.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "sheet/sheet_builder.h"
#include "tests/sheet/table_rows.h"
#include "tests/views/chinese.h"

namespace veltrane::sheet {
namespace {

SheetRequest U60(std::string q, std::string k, DesignCriteria criteria) {
    return {.section = StandardRef(SectionSize::U60),
            .discharge = std::move(q),
            .slope = "500",
            .roughness = "0.017",
            .factor = std::move(k),
            .reach = {.date = "2026年12月8日"},
            .criteria = criteria};
}

using test::Row;

// The worked example has V = .904 m/s: above a floor of 0.5, above a ceiling
// of 0.9.
TEST(SheetChecks, AFloorIsAtLeastAndACeilingAtMost) {
    const Document doc = BuildSheet(U60("0.25", "1.0", {.minVelocity = 0.5, .maxVelocity = 0.9}));
    EXPECT_EQ(
        Row(doc, "流速下限 V（设计流量 Q）"),
        (std::vector<std::string>{"流速下限 V（设计流量 Q）", "0.904 m/s", "≥ 0.5 m/s", "满足"}));
    EXPECT_EQ(Row(doc, "流速上限 V（校核流量 kQ）"),
              (std::vector<std::string>{"流速上限 V（校核流量 kQ）", "0.904 m/s", "≤ 0.9 m/s",
                                        "不满足"}));
}

// The printed V of a single run with these texts: the report's own number.
double ReportVelocity(SectionSize size, const std::string& q) {
    const USection& s = LookupSection(size);
    const CalculationOutcome o = RunCalculation(s, {q, "500", "0.017", "1"});
    return std::stod(std::string(o.report().printed[3]));
}

// Three flows: the highest velocity at kQ, the lowest at the minimum
// discharge; each as a single run at that discharge prints it.
TEST(SheetChecks, EachVelocityIsCheckedAtItsFlow) {
    SheetRequest r = U60("0.25", "1.0", {});
    r.section = StandardRef(SectionSize::U80);
    r.factor = "1.2";
    r.criteria = {.minVelocity = 0.6, .maxVelocity = 0.95, .minDischarge = 0.05};
    const Document doc = BuildSheet(r);
    const double atKq = ReportVelocity(SectionSize::U80, "0.3");
    const double atMinimum = ReportVelocity(SectionSize::U80, "0.05");
    ASSERT_GT(atKq, 0.95);      // fails at kQ, though V at Q (.923) would pass
    ASSERT_LT(atMinimum, 0.6);  // fails at Qmin, though V at Q would pass
    const auto text = [](double v) {
        std::string t = std::to_string(v);
        t.erase(t.find_last_not_of('0') + 1);
        return t;
    };
    EXPECT_EQ(Row(doc, "流速上限 V（校核流量 kQ）"),
              (std::vector<std::string>{"流速上限 V（校核流量 kQ）", text(atKq) + " m/s",
                                        "≤ 0.95 m/s", "不满足"}));
    EXPECT_EQ(Row(doc, "流速下限 V（最小流量 Qmin）"),
              (std::vector<std::string>{"流速下限 V（最小流量 Qmin）", text(atMinimum) + " m/s",
                                        "≥ 0.6 m/s", "不满足"}));
    // The results carry the third flow, and the working its search.
    const std::vector<std::string> flow = Row(doc, "流量");
    EXPECT_EQ(flow, (std::vector<std::string>{"流量", "Q", "0.25", "0.3", "0.05", "m³/s"}));
    bool searched = false;
    for (const Block& b : doc.blocks) {
        if (const auto* h = std::get_if<Heading>(&b)) {
            searched = searched || h->text == "3. 最小流量水深（目标流量 0.05 m³/s）";
        }
    }
    EXPECT_TRUE(searched);
    // Without a lowest velocity the minimum discharge is shown but not used.
    r.criteria.minVelocity.reset();
    EXPECT_EQ(Row(BuildSheet(r), "最小流量"),
              (std::vector<std::string>{"最小流量", "Qmin", "0.05", "m³/s", "未用于校核"}));
}

// Every text of the sheet, for a report, each overflow and a rejected input.
TEST(SheetChecks, EveryWordIsChinese) {
    const SheetRequest cases[] = {
        U60("0.25", "1.0", {.minFreeboard = 0.05, .minVelocity = 0.5, .maxVelocity = 3}),
        U60("0.268", "1.0", {}),
        U60("0.25", "1.2", {}),
        U60("0", "1.0", {}),
    };
    for (const SheetRequest& r : cases) {
        const Document doc = BuildSheet(r);
        std::vector<std::string> texts = {doc.title};
        for (const Block& b : doc.blocks) {
            if (const auto* h = std::get_if<Heading>(&b)) {
                texts.push_back(h->text);
            } else if (const auto* p = std::get_if<Paragraph>(&b)) {
                texts.push_back(p->text);
            } else if (const auto* t = std::get_if<Table>(&b)) {
                texts.insert(texts.end(), t->header.begin(), t->header.end());
                for (const auto& row : t->rows) {
                    texts.insert(texts.end(), row.begin(), row.end());
                }
            }
        }
        for (const std::string& text : texts) {
            EXPECT_EQ(testing::ForeignWord(text), "") << r.discharge << ": " << text;
        }
    }
}

}  // namespace
}  // namespace veltrane::sheet
