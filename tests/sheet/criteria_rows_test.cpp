// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet's checks against the criteria: which way each limit points, and
// that every word around the numbers is Chinese.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sheet/sheet_builder.h"
#include "tests/views/chinese.h"

namespace veltrane::sheet {
namespace {

SheetRequest U60(std::string q, std::string k, DesignCriteria criteria) {
    return {.size = SectionSize::U60,
            .discharge = std::move(q),
            .slope = "500",
            .roughness = "0.017",
            .factor = std::move(k),
            .reach = {.date = "2026年12月8日"},
            .criteria = criteria};
}

// The check table's row that starts with name.
std::vector<std::string> CheckRow(const Document& doc, std::string_view name) {
    for (const Block& b : doc.blocks) {
        if (const auto* t = std::get_if<Table>(&b)) {
            for (const auto& row : t->rows) {
                if (!row.empty() && row[0] == name) {
                    return row;
                }
            }
        }
    }
    return {};
}

// The worked example has V = .904 m/s: above a floor of 0.5, above a ceiling
// of 0.9.
TEST(SheetChecks, AFloorIsAtLeastAndACeilingAtMost) {
    const Document doc = BuildSheet(U60("0.25", "1.0", {.minVelocity = 0.5, .maxVelocity = 0.9}));
    EXPECT_EQ(CheckRow(doc, "流速下限 V（设计流量 Q）"),
              (std::vector<std::string>{"流速下限 V（设计流量 Q）", "0.904 m/s", "≥ 0.5 m/s",
                                        "满足"}));
    EXPECT_EQ(CheckRow(doc, "流速上限 V（设计流量 Q）"),
              (std::vector<std::string>{"流速上限 V（设计流量 Q）", "0.904 m/s", "≤ 0.9 m/s",
                                        "不满足"}));
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
