// SPDX-License-Identifier: GPL-3.0-or-later
// Design criteria the engineer gives for a reach: a smallest freeboard and a
// range of permitted velocities. None has a default; Veltrane does not
// invent values in the name of a standard.
#pragma once

#include <optional>
#include <vector>

#include "hydraulics/calculation_run.h"

namespace veltrane {

// Each criterion is held against the flow that decides it: the freeboard at
// the largest flow (kQ), the highest velocity at the largest flow (kQ), the
// lowest velocity at the smallest flow given (the minimum discharge where
// one is given, else Q), since silting is decided at the smallest flow.
struct DesignCriteria {
    std::optional<double> minFreeboard{};  // m: H − h1 at least this
    std::optional<double> minVelocity{};   // m/s: V at the smallest flow at least this
    std::optional<double> maxVelocity{};   // m/s: V at kQ at most this
    // m³/s, > 0: the smallest flow the reach carries. Not a criterion
    // itself; the lowest velocity is checked at it when it is not above Q.
    std::optional<double> minDischarge{};

    bool empty() const { return !minFreeboard && !minVelocity && !maxVelocity; }
};

enum class CriterionKind { MinFreeboard, MinVelocity, MaxVelocity };

// Which flow a criterion's value is taken at.
enum class CriterionFlow { Design, Check, Minimum };

struct CriterionCheck {
    CriterionKind kind;
    double limit;  // as given
    double value;  // as the report rounds it
    bool passes;
    CriterionFlow flow = CriterionFlow::Design;
};

// V at kQ, m/s: the check search's discharge over its area at the step where
// it stopped, as the report's V is the design search's.
double CheckVelocity(const SearchOutcome& searches);

// The stepped search (as the design depth's) for the minimum discharge, on
// the run's bed, when criteria give one that is not above the run's Q and
// a lowest velocity to check at it; else nothing.
std::optional<DepthSearchResult> MinimumFlowSearch(const USection& section,
                                                   const CalculationOutcome& outcome,
                                                   const DesignCriteria& criteria);

// Each given criterion against a search pair that fits the section, and the
// minimum flow's search where there is one. The values are compared as the
// report prints them (the freeboard to the section's report decimals, the
// velocities to 3), so that a printed 0.024 m meets a criterion of 0.024 m.
std::vector<CriterionCheck> CheckCriteria(const USection& section, const SearchOutcome& searches,
                                          const DesignCriteria& criteria,
                                          const DepthSearchResult* minimum = nullptr);

// CheckCriteria of a run that gave a report, with its minimum flow's search.
std::vector<CriterionCheck> CheckRun(const USection& section, const CalculationOutcome& outcome,
                                     const DesignCriteria& criteria);

bool AllPass(const std::vector<CriterionCheck>& checks);

}  // namespace veltrane
