// SPDX-License-Identifier: GPL-3.0-or-later
// The rating curve of a section: discharge against depth, with the design
// and check discharges marked.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hydraulics/calculation_run.h"
#include "hydraulics/flow_extras.h"

namespace veltrane::sheet {

struct RatingMark {
    double discharge;  // m³/s
    std::string label;
};

std::string RatingCurveSvg(const USection& section, const std::vector<RatingRow>& rows,
                           const std::vector<RatingMark>& marks, const std::string& title);

// The rating view of a window's four texts, as the program and the web page
// show it: the rows every 0.01 m and the curve with Q and kQ marked, or the
// message that the roughness or slope text gives (7 when a row leaves the
// double range).
struct RatingView {
    std::optional<CalculationMessage> message{};
    std::vector<RatingRow> rows{};
    std::string svg{};
};

RatingView RatingViewFor(const USection& section, const CalculationInputs& texts);

// The rating table's columns as shown, and as a CSV file names them.
inline constexpr std::array<std::string_view, 5> kRatingHeadings = {
    "水深 h (m)", "流量 Q (m³/s)", "流速 V (m/s)", "过水面积 A (m²)", "Fr"};

// A row's cells as printed: the depth to 6 decimals, Q to 4, V to 3, A to
// the section's report decimals, Fr to 3.
std::array<std::string, 5> RatingCells(const USection& section, const RatingRow& row);

// The header and every row, each line ended by LF.
std::string RatingCsv(const USection& section, const std::vector<RatingRow>& rows);

}  // namespace veltrane::sheet
