// SPDX-License-Identifier: GPL-3.0-or-later
// What an engineer asks next, from the same geometry and flow elements as
// the calculation: the flow regime, the critical depth, the freeboard and
// the capacity of a section, its rating table, and which section fits.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "hydraulics/calculation_run.h"
#include "hydraulics/design_criteria.h"

namespace veltrane {

inline constexpr double kGravity = 9.81;  // m/s²

// Fr = V / √(g·A/b), from elements of a Design evaluation.
double FroudeNumber(const FlowElements& e);

// Fr at the design depth the report gives (h, one step above where the
// search stopped) with the design discharge: V = Q/A and A, b at h. This is
// the Froude number of the flow the report describes; FroudeNumber of the
// search's elements would be one step below h with that step's discharge.
double DesignFroudeNumber(const USection& section, const SearchOutcome& searches, double discharge);

enum class FlowRegime { Subcritical, Supercritical };

// Below Fr = 1 the flow is subcritical; from 1 on supercritical.
FlowRegime RegimeOf(double froude);
std::string_view RegimeName(FlowRegime regime);  // "subcritical", "supercritical"

// Depth where Q²·b / (g·A³) = 1, by bisection to 1e-6 m; nothing when it lies
// above the channel depth. discharge in m³/s, > 0.
std::optional<double> CriticalDepth(const USection& section, double discharge);

// The deepest depth the stepped search evaluates (the running sum of 0.001 m
// that does not pass the channel depth), and the discharge there.
double DeepestSearchDepth(const USection& section);
double Capacity(const USection& section, const ChannelBed& bed);

// Half the width of the section at height y above its lowest point, m.
double HalfWidthAt(const USection& section, double y);

struct RatingRow {
    FlowElements elements;  // of a Design evaluation
    double froude;
};

// The smallest step of a rating table, m. It bounds the table to
// channel depth / kSmallestRatingStep + 1 rows (10,501 for U140).
inline constexpr double kSmallestRatingStep = 0.0001;

// Rows at step, 2·step, … below the channel depth, then at the channel depth
// itself. kSmallestRatingStep ≤ step ≤ channel depth, m.
std::vector<RatingRow> RatingTable(const USection& section, const ChannelBed& bed, double step);

enum class FitStatus { Fits, FailsCriteria, DesignAbove, CheckAbove, Message };

struct FitRow {
    const USection* section = nullptr;
    FitStatus status;
    CalculationOutcome outcome;            // without report text
    double freeboard = 0;                  // channel depth − check depth, m (Fits, FailsCriteria)
    double froude = 0;                     // at the design depth (Fits, FailsCriteria)
    std::vector<CriterionCheck> criteria;  // each given criterion (Fits, FailsCriteria)
};

struct FitResult {
    std::vector<FitRow> rows;  // one a section, in the order given
    // The first section in that order that carries both discharges and meets
    // the criteria: the smallest, when the sections come smallest first.
    const USection* smallest = nullptr;
    // Set when the texts are rejected (messages 1 to 4, or 7 for a value
    // past the double range), or when they drive a result past it in any
    // section (message 7): a single calculation would say so, and so does fit.
    std::optional<CalculationMessage> rejected;
};

// Runs the calculation for every section with the same four texts: the
// standard five unless told, smallest first. A section fits when it carries
// both discharges and meets every criterion.
FitResult FitSections(const CalculationInputs& inputs, const DesignCriteria& criteria = {},
                      std::span<const USection* const> sections = StandardSections());

}  // namespace veltrane
