// SPDX-License-Identifier: GPL-3.0-or-later
// The fields a user fills in for a calculation sheet's title block and
// signature table, by key (as the page and the command line name them) and
// by label, in the order a form shows them.
#pragma once

#include <array>
#include <string_view>

namespace veltrane::views {

struct SheetField {
    std::string_view key;
    std::string_view label;
};

inline constexpr std::array<SheetField, 12> kSheetFields = {{
    {.key = "project", .label = "工程名称"},
    {.key = "unit", .label = "设计单位"},
    {.key = "stage", .label = "设计阶段"},
    {.key = "number", .label = "计算书编号"},
    {.key = "channel", .label = "渠道名称"},
    {.key = "station", .label = "桩号"},
    {.key = "designer", .label = "计算"},
    {.key = "date", .label = "计算日期"},
    {.key = "checker", .label = "校核"},
    {.key = "checkDate", .label = "校核日期"},
    {.key = "approver", .label = "审核"},
    {.key = "approveDate", .label = "审核日期"},
}};

// 计算依据: one line per standard, clause or document.
inline constexpr std::string_view kBasisLabel = "计算依据";
inline constexpr std::string_view kBasisHint = "每行一条，如标准编号、名称与条款";

// Beside a criterion: where it comes from ("最小安全超高依据").
inline constexpr std::string_view kSourceSuffix = "依据";

}  // namespace veltrane::views
