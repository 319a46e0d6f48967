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

// The table's headings ("纵坡 i", then each section's label) and a row's
// cells ("1/300", then each discharge, "—" where none serves), whole.
std::vector<std::string> SelectionHeadings(const std::vector<SelectionRow>& rows);
std::vector<std::string> SelectionCells(const SelectionRow& row);

// The table with its conditions, the chart and the signature lines; a table
// of more than six sections is printed as several, each with the slopes.
Document BuildSelectionSheet(const std::vector<SelectionRow>& rows, const std::string& roughness,
                             const std::string& factor, const DesignCriteria& criteria,
                             const std::string& date);

}  // namespace veltrane::sheet
