// SPDX-License-Identifier: GPL-3.0-or-later
// Design criteria the engineer gives for a reach: a smallest freeboard and a
// range of permitted velocities. None has a default; Veltrane does not
// invent values in the name of a standard.
#pragma once

#include <optional>
#include <vector>

#include "hydraulics/calculation_run.h"

namespace veltrane {

struct DesignCriteria {
    std::optional<double> minFreeboard{};  // m: H − h1 at least this
    std::optional<double> minVelocity{};   // m/s: V at the design depth at least this
    std::optional<double> maxVelocity{};   // m/s: V at the design depth at most this

    bool empty() const { return !minFreeboard && !minVelocity && !maxVelocity; }
};

enum class CriterionKind { MinFreeboard, MinVelocity, MaxVelocity };

struct CriterionCheck {
    CriterionKind kind;
    double limit;  // as given
    double value;  // as the report rounds it
    bool passes;
};

// Each given criterion against a search pair that fits the section. The
// values are compared as the report prints them (the freeboard to the
// section's report decimals, the velocity to 3), so that a printed 0.024 m
// meets a criterion of 0.024 m.
std::vector<CriterionCheck> CheckCriteria(const USection& section, const SearchOutcome& searches,
                                          const DesignCriteria& criteria);

bool AllPass(const std::vector<CriterionCheck>& checks);

}  // namespace veltrane
