// SPDX-License-Identifier: GPL-3.0-or-later
// The water surface (水面线) as the program's dialog and the page's panel show
// it: the form's words, the station table's cells and what the checks come
// to, in Chinese. One text for both, so that they never say it differently.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "canal/canal_model.h"

namespace veltrane::views {

struct ProfileFormWords {
    std::string_view title = "水面线";
    std::string_view reaches = "渠段（自上游至下游，每行一段）：";
    std::string_view reachTable = "渠段表";
    std::string_view add = "添加", remove = "删除", up = "上移", down = "下移";
    std::string_view importCsv = "导入CSV…", exportReaches = "导出CSV…";
    std::string_view factor = "加大系数 k：";
    std::string_view end = "下游边界：";
    // In the order of canal::EndCondition.
    std::array<std::string_view, 3> ends = {"末渠段均匀流", "自由跌落（临界水深）", "给定水位"};
    std::string_view level = "下游水位 (m)";
    std::string_view spacing = "断面间距 (m)：";
    std::string_view minFreeboard = "最小安全超高 (m)：";
    std::string_view noCheck = "不校核";
    std::string_view compute = "计算";
    std::string_view drawing = "纵断面图";
    std::string_view pdf = "导出PDF…", html = "导出HTML…", docx = "导出Word…",
                     csv = "导出结果CSV…", svg = "保存SVG…", dxf = "保存DXF…", close = "关闭";
    // The files' names where the user has not chosen one (the sheet's and
    // the drawing's without their extension: they come in several forms).
    std::string_view reachesFile = "渠段.csv", sheetFile = "水面线计算书",
                     stationsFile = "水面线.csv", drawingFile = "纵断面图";
};
inline constexpr ProfileFormWords kProfileForm{};

// The station table's headings without the flow (the tab or the heading
// over the table names it), the chainage as stakes ("桩号", 0+100).
std::vector<std::string_view> StationHeadings();

// A station's cells under StationHeadings: levels to the millimetre, the
// Froude number to two places, the curve type in Chinese.
std::vector<std::string> StationCells(const canal::CanalRequest& request,
                                      const canal::Station& station);

// What the checks come to, a line each, the verdict last.
std::vector<std::string> CheckLines(const canal::CanalRequest& request,
                                    const canal::CanalProfile& profile);

}  // namespace veltrane::views
