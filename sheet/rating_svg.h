// SPDX-License-Identifier: GPL-3.0-or-later
// The rating curve of a section: discharge against depth, with the design
// and check discharges marked.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hydraulics/flow_extras.h"

namespace veltrane::sheet {

struct RatingMark {
    double discharge;  // m³/s
    std::string label;
};

std::string RatingCurveSvg(const USection& section, const std::vector<RatingRow>& rows,
                           const std::vector<RatingMark>& marks, const std::string& title);

}  // namespace veltrane::sheet
