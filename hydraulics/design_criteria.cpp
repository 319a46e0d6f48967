// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/design_criteria.h"

#include <algorithm>

#include "hydraulics/number_rules.h"

namespace veltrane {

std::vector<CriterionCheck> CheckCriteria(const USection& section, const SearchOutcome& searches,
                                          const DesignCriteria& criteria) {
    std::vector<CriterionCheck> checks;
    const double freeboard =
        RoundHalfEven(section.channelDepth - searches.check.reportedDepth, section.reportDecimals);
    const double velocity = RoundHalfEven(searches.design.elements.velocity, 3);
    if (criteria.minFreeboard) {
        checks.push_back({CriterionKind::MinFreeboard, *criteria.minFreeboard, freeboard,
                          freeboard >= *criteria.minFreeboard});
    }
    if (criteria.minVelocity) {
        checks.push_back({CriterionKind::MinVelocity, *criteria.minVelocity, velocity,
                          velocity >= *criteria.minVelocity});
    }
    if (criteria.maxVelocity) {
        checks.push_back({CriterionKind::MaxVelocity, *criteria.maxVelocity, velocity,
                          velocity <= *criteria.maxVelocity});
    }
    return checks;
}

bool AllPass(const std::vector<CriterionCheck>& checks) {
    return std::all_of(checks.begin(), checks.end(),
                       [](const CriterionCheck& c) { return c.passes; });
}

}  // namespace veltrane
