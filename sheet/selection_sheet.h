// SPDX-License-Identifier: GPL-3.0-or-later
// The selection table (选型表): the largest discharge each standard section
// carries at each slope, as a chart and as a printable document.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "hydraulics/design_aids.h"
#include "sheet/document.h"

namespace veltrane::sheet {

// The chart's title wherever it is drawn alone.
inline constexpr std::string_view kSelectionChartTitle = "装配式U形渠道构件最大设计流量";

// Discharge against slope, one line per section; the slope axis is
// logarithmic, as the slopes of a table usually span decades.
std::string SelectionChartSvg(const std::vector<SelectionRow>& rows, const std::string& title);

// The table with its conditions, the chart and the signature lines.
Document BuildSelectionSheet(const std::vector<SelectionRow>& rows, const std::string& roughness,
                             const std::string& factor, const DesignCriteria& criteria,
                             const std::string& date);

}  // namespace veltrane::sheet
