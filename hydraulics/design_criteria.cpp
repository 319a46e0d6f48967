// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/design_criteria.h"

#include <algorithm>

#include "hydraulics/number_rules.h"

namespace veltrane {

double CheckVelocity(const SearchOutcome& searches) {
    const FlowElements& e = searches.check.elements;
    return e.discharge / e.area;
}

std::optional<DepthSearchResult> MinimumFlowSearch(const USection& section,
                                                   const CalculationOutcome& outcome,
                                                   const DesignCriteria& criteria) {
    if (!criteria.minVelocity || !criteria.minDischarge || !(*criteria.minDischarge > 0) ||
        *criteria.minDischarge > outcome.inputs.discharge) {
        return std::nullopt;
    }
    return SearchDepth(section, *criteria.minDischarge, outcome.inputs.bed(), SearchKind::Design);
}

std::vector<CriterionCheck> CheckCriteria(const USection& section, const SearchOutcome& searches,
                                          const DesignCriteria& criteria,
                                          const DepthSearchResult* minimum) {
    std::vector<CriterionCheck> checks;
    const double freeboard =
        RoundHalfEven(section.channelDepth - searches.check.reportedDepth, section.reportDecimals);
    if (criteria.minFreeboard) {
        checks.push_back({CriterionKind::MinFreeboard, *criteria.minFreeboard, freeboard,
                          freeboard >= *criteria.minFreeboard, CriterionFlow::Check});
    }
    if (criteria.minVelocity) {
        const bool atMinimum = minimum != nullptr;
        const double velocity = RoundHalfEven(
            atMinimum ? minimum->elements.velocity : searches.design.elements.velocity, 3);
        checks.push_back({CriterionKind::MinVelocity, *criteria.minVelocity, velocity,
                          velocity >= *criteria.minVelocity,
                          atMinimum ? CriterionFlow::Minimum : CriterionFlow::Design});
    }
    if (criteria.maxVelocity) {
        const double velocity = RoundHalfEven(CheckVelocity(searches), 3);
        checks.push_back({CriterionKind::MaxVelocity, *criteria.maxVelocity, velocity,
                          velocity <= *criteria.maxVelocity, CriterionFlow::Check});
    }
    return checks;
}

std::vector<CriterionCheck> CheckRun(const USection& section, const CalculationOutcome& outcome,
                                     const DesignCriteria& criteria) {
    const std::optional<DepthSearchResult> minimum = MinimumFlowSearch(section, outcome, criteria);
    return CheckCriteria(section, *outcome.searches, criteria, minimum ? &*minimum : nullptr);
}

bool AllPass(const std::vector<CriterionCheck>& checks) {
    return std::all_of(checks.begin(), checks.end(),
                       [](const CriterionCheck& c) { return c.passes; });
}

}  // namespace veltrane
