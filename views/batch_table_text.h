// SPDX-License-Identifier: GPL-3.0-or-later
// The batch result as a person reads it on the page: the command line's
// columns (size … message, which its CSV keeps for scripts) under Chinese
// headings, and its status words in Chinese.
#pragma once

#include <array>
#include <string_view>

namespace veltrane::views {

// In the order of veltrane-calc --batch's columns.
inline constexpr std::array<std::string_view, 16> kBatchHeadings = {"规格",
                                                                    "设计流量 Q (m³/s)",
                                                                    "纵坡 1/x",
                                                                    "糙率 n",
                                                                    "加大系数 k",
                                                                    "结果",
                                                                    "校核流量 kQ (m³/s)",
                                                                    "设计水深 h (m)",
                                                                    "校核水深 h1 (m)",
                                                                    "流速 V (m/s)",
                                                                    "水面宽度 b (m)",
                                                                    "过水面积 A (m²)",
                                                                    "湿周 X (m)",
                                                                    "水力半径 R (m)",
                                                                    "谢才系数 C",
                                                                    "说明"};

// "report" → "计算成果", "message" → "程序提示", "error" → "无法计算"; any
// other text as it is.
std::string_view BatchStatusText(std::string_view status);

}  // namespace veltrane::views
