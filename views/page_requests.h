// SPDX-License-Identifier: GPL-3.0-or-later
// What the web page is told when its request to the module cannot be carried
// out as asked: a size that is not one of the five, a selection table's slope
// list that cannot be read, an argument of the wrong kind. In Chinese, as
// everything on the page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::views {

// "规格序号“5”无效：须为 0 至 4 的整数（0 为 U60，4 为 U140）。" index as the
// page sent it, written out.
std::string SizeIndexProblemText(std::string_view index);

// A selection table's slopes, "300,500,1000": whole x of 1/x, 1 to 1000000,
// 1 to 50 of them, commas between (one may end the list) and no blanks. The same rule as
// veltrane-calc select-table --slopes.
inline constexpr std::size_t kMostSlopes = 50;
inline constexpr long kLargestSlope = 1'000'000;
std::optional<std::vector<long>> ReadSlopeList(std::string_view text);

// "选型表纵坡“300,,500”无效：须为 1 至 1000000 的整数，以逗号分隔，最多 50 个。"
std::string SlopeListProblemText(std::string_view text);

// An argument the page sent as another kind than text (a number, an object).
inline constexpr std::string_view kArgumentNotText = "页面传给计算模块的参数不是文字，无法计算。";

// An operation the module does not have.
inline constexpr std::string_view kNoSuchOperation = "计算模块没有页面要求的这项操作。";

// A file the page sent as other than its bytes.
inline constexpr std::string_view kFileNotBytes = "页面没有把文件的内容交给计算模块，无法读取。";

}  // namespace veltrane::views
