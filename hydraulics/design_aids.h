// SPDX-License-Identifier: GPL-3.0-or-later
// The questions an engineer asks after "which depth": the largest discharge
// a section carries at a slope, the range of slopes that serve a discharge,
// and a selection table of capacities. Every answer is confirmed by the same
// run the window makes (RunCalculation on the texts a user would type),
// never interpolated.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hydraulics/calculation_run.h"
#include "hydraulics/design_criteria.h"

namespace veltrane {

// A run's verdict for the design aids: a report that meets every criterion.
bool Serves(const USection& section, const CalculationOutcome& outcome,
            const DesignCriteria& criteria);

// Why a design aid found no answer, as facts; the words are the views'.
struct ServeFailure {
    enum class Where {
        SmallestDischarge,   // even 0.0001 m³/s does not serve
        LargestFitting,      // at the largest Q that fits (discharge), a criterion fails
        SteepestSlope,       // even at 1/kSteepestSlope it does not serve
        EveryCarryingSlope,  // every slope up to 1/slope that carries both misses a criterion
        NoWholeSlope,        // no whole slope in the searched range serves
    };
    enum class Why {
        None,               // with NoWholeSlope
        DesignDepthAboveH,  // the design depth exceeds H
        CheckDepthAboveH,   // the check depth exceeds H
        FreeboardBelow,     // value (m, printed to decimals) below limit
        VelocityBelow,      // value (m/s, 3 decimals) below limit
        VelocityAbove,      // value (m/s, 3 decimals) above limit
    };
    Where where = Where::NoWholeSlope;
    Why why = Why::None;
    double value = 0;         // the freeboard or the velocity as the report rounds it
    double limit = 0;         // the criterion as given
    int decimals = 3;         // to which value is printed
    double channelDepth = 0;  // H, m
    CriterionFlow flow = CriterionFlow::Design;  // the velocity's flow
    std::string discharge{};                     // LargestFitting: Q as typed, "0.2677"
    long slope = 0;  // EveryCarryingSlope: x of the flattest slope that carries both
};

// Q to the report's four decimals, as a user would type it: 0.2684 → "0.2684".
std::string DischargeText(std::int64_t tenThousandths);

// The largest discharge a capacity search tries, in 0.0001 m³/s: 10¹⁴ m³/s,
// far past any channel of these sizes (a run gives one only for a roughness
// near 0), and within the exact range of the count.
inline constexpr std::int64_t kLargestCapacity = 1'000'000'000'000'000'000;

struct CapacityResult {
    const USection* section = nullptr;  // the section searched
    // Set when the slope, roughness or factor texts are rejected.
    std::optional<CalculationMessage> rejected;
    // The largest Q (a multiple of 0.0001 m³/s) that serves, with its run.
    std::optional<double> discharge;
    std::string dischargeText;
    // The discharge is kLargestCapacity and serves: the search stopped there,
    // and larger discharges may serve too.
    bool atSearchLimit = false;
    CalculationOutcome outcome;
    ServeFailure reason;  // why none serves, when none does
};

// The largest design discharge, to 0.0001 m³/s, for which the run gives a
// report and meets the criteria.
CapacityResult FindCapacity(const USection& section, std::string_view slope,
                            std::string_view roughness, std::string_view factor,
                            const DesignCriteria& criteria);

// The slopes searched: 1/10 (steep) to 1/100000 (flat).
inline constexpr long kSteepestSlope = 10;
inline constexpr long kFlattestSlope = 100000;

struct SlopeRange {
    std::optional<CalculationMessage> rejected;  // discharge, roughness or factor rejected
    std::optional<long> steepest;                // smallest whole x that serves
    std::optional<long> flattest;                // largest whole x that serves
    CalculationOutcome steepestOutcome;
    CalculationOutcome flattestOutcome;
    ServeFailure reason;  // why no slope serves, when none does
};

// The whole x of the slopes 1/x, between kSteepestSlope and kFlattestSlope,
// for which the section carries Q and kQ, meets the criteria and gives no
// message.
SlopeRange SolveSlope(const USection& section, std::string_view discharge,
                      std::string_view roughness, std::string_view factor,
                      const DesignCriteria& criteria);

struct SelectionRow {
    long slope = 0;                        // x of 1/x
    std::vector<CapacityResult> sections;  // one a section, in the order given
};

// The capacity of every section at each slope: a selection table. The
// standard five unless told.
std::vector<SelectionRow> SelectionTable(
    std::span<const long> slopes, std::string_view roughness, std::string_view factor,
    const DesignCriteria& criteria, std::span<const USection* const> sections = StandardSections());

}  // namespace veltrane
