// SPDX-License-Identifier: GPL-3.0-or-later
// The signature table's headings, in every form of the sheet.
#pragma once

#include <array>
#include <string_view>

namespace veltrane::sheet {

inline constexpr std::array<std::string_view, 4> kSignatureHeadings = {"职责", "姓名", "签字",
                                                                       "日期"};

}  // namespace veltrane::sheet
