// SPDX-License-Identifier: GPL-3.0-or-later
// Which section fits, as the program's 选型 dialog and the web page show it:
// the table's cells, the verdict, and the five sections drawn side by side.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include <vector>

#include "hydraulics/flow_extras.h"
#include "sheet/section_svg.h"

namespace veltrane::sheet {

inline constexpr std::array<std::string_view, 7> kFitHeadings = {
    "断面", "设计水深 (m)", "校核水深 (m)", "安全超高 (m)", "流速 (m/s)", "Fr", "结论"};

// A row's cells as printed, "—" where the section gives no depths, and the
// verdict in words.
std::array<std::string, 7> FitCells(const FitRow& row);

// "能通过设计流量与校核流量的最小标准断面：U80形渠道构件", or that none can.
std::string FitVerdict(const FitResult& fit);

// The five panels, and their drawing's title with the texts as typed.
std::vector<SvgPanel> FitPanels(const FitResult& fit);
std::string FitDrawingTitle(const CalculationInputs& texts);

// The five panels at one scale, titled with the texts as typed.
std::string FitDrawingSvg(const FitResult& fit, const CalculationInputs& texts);

}  // namespace veltrane::sheet
