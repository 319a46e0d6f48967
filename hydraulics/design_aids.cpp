// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/design_aids.h"

#include <charconv>
#include <functional>

#include "hydraulics/float_chars.h"
#include "hydraulics/number_rules.h"

namespace veltrane {

namespace {

// Floating-point rounding can make the verdict step back and forth by a
// grid point or two near the boundary; the answer found by bisection is
// confirmed, and moved on, by this many exact runs beyond it.
constexpr long kGuardSteps = 8;

// Q beyond 100,000 m³/s is no channel of these sizes.
constexpr long kLargestTenThousandths = 1'000'000'000;

// The first criterion a report misses, or Why::None.
ServeFailure MissedCriterion(const USection& section, const CalculationOutcome& o,
                             const DesignCriteria& criteria, ServeFailure::Where where) {
    ServeFailure f{.where = where, .channelDepth = section.channelDepth};
    for (const CriterionCheck& c : CheckCriteria(section, *o.searches, criteria)) {
        if (c.passes) {
            continue;
        }
        f.value = c.value;
        f.limit = c.limit;
        switch (c.kind) {
            case CriterionKind::MinFreeboard:
                f.why = ServeFailure::Why::FreeboardBelow;
                f.decimals = section.reportDecimals;
                break;
            case CriterionKind::MinVelocity:
                f.why = ServeFailure::Why::VelocityBelow;
                break;
            case CriterionKind::MaxVelocity:
                f.why = ServeFailure::Why::VelocityAbove;
                break;
        }
        return f;
    }
    return f;
}

// Why a run does not serve.
ServeFailure WhyNot(const USection& section, const CalculationOutcome& o,
                    const DesignCriteria& criteria, ServeFailure::Where where) {
    if (!o.isReport()) {
        return {.where = where,
                .why = o.message().number == MessageNumber::DesignOverflow
                           ? ServeFailure::Why::DesignDepthAboveH
                           : ServeFailure::Why::CheckDepthAboveH,
                .channelDepth = section.channelDepth};
    }
    return MissedCriterion(section, o, criteria, where);
}

// The largest n in [lo, hi) for which ok holds, given ok(lo) and !ok(hi);
// then n + 1 … n + kGuardSteps are tried exactly, and any that holds moves
// the answer on.
long LargestHolding(long lo, long hi, const std::function<bool(long)>& ok) {
    while (hi - lo > 1) {
        const long mid = lo + (hi - lo) / 2;
        (ok(mid) ? lo : hi) = mid;
    }
    for (long step = 1; step <= kGuardSteps; ++step) {
        if (ok(lo + step)) {
            lo += step;
            step = 0;
        }
    }
    return lo;
}

// The smallest n in (lo, hi] for which ok holds, given !ok(lo) and ok(hi),
// guarded the same way downwards, not below floor.
long SmallestHolding(long lo, long hi, long floor, const std::function<bool(long)>& ok) {
    while (hi - lo > 1) {
        const long mid = lo + (hi - lo) / 2;
        (ok(mid) ? hi : lo) = mid;
    }
    for (long step = 1; step <= kGuardSteps && hi - step >= floor; ++step) {
        if (ok(hi - step)) {
            hi -= step;
            step = 0;
        }
    }
    return hi;
}

}  // namespace

bool Serves(const USection& section, const CalculationOutcome& outcome,
            const DesignCriteria& criteria) {
    return outcome.isReport() && AllPass(CheckCriteria(section, *outcome.searches, criteria));
}

std::string DischargeText(long tenThousandths) {
    std::string fraction = std::to_string(tenThousandths % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    return std::to_string(tenThousandths / 10000) + "." + fraction;
}

CapacityResult FindCapacity(const USection& section, std::string_view slope,
                            std::string_view roughness, std::string_view factor,
                            const DesignCriteria& criteria) {
    CapacityResult result;
    const auto run = [&](long q) {
        const std::string text = DischargeText(q);
        return EvaluateCalculation(section, {text, slope, roughness, factor});
    };
    if (const CalculationOutcome probe = run(10000); probe.rejectsInputs()) {
        result.rejected = probe.message();
        return result;
    }
    // The lowest velocity is met by larger discharges, everything else by
    // smaller ones: search without it, then check it at the answer.
    DesignCriteria upper = criteria;
    upper.minVelocity.reset();
    const auto ok = [&](long q) { return Serves(section, run(q), upper); };
    if (!ok(1)) {
        result.reason = WhyNot(section, run(1), upper, ServeFailure::Where::SmallestDischarge);
        return result;
    }
    long lo = 1;
    long hi = 2;
    while (hi < kLargestTenThousandths && ok(hi)) {
        lo = hi;
        hi *= 2;
    }
    const long q = hi >= kLargestTenThousandths && ok(hi) ? hi : LargestHolding(lo, hi, ok);
    const std::string text = DischargeText(q);
    CalculationOutcome outcome = RunCalculation(section, {text, slope, roughness, factor});
    if (!Serves(section, outcome, criteria)) {
        result.reason =
            MissedCriterion(section, outcome, criteria, ServeFailure::Where::LargestFitting);
        result.reason.discharge = text;
        return result;
    }
    result.discharge = ParseNumber(text);
    result.dischargeText = text;
    result.outcome = std::move(outcome);
    return result;
}

SlopeRange SolveSlope(const USection& section, std::string_view discharge,
                      std::string_view roughness, std::string_view factor,
                      const DesignCriteria& criteria) {
    SlopeRange result;
    const auto run = [&](long x) {
        const std::string text = std::to_string(x);
        return EvaluateCalculation(section, {discharge, text, roughness, factor});
    };
    if (const CalculationOutcome probe = run(500); probe.rejectsInputs()) {
        result.rejected = probe.message();
        return result;
    }
    // What fails as the slope flattens (x grows): the depths, the freeboard,
    // the lowest velocity. What fails as it steepens: the highest velocity.
    DesignCriteria flatSide = criteria;
    flatSide.maxVelocity.reset();
    DesignCriteria steepSide;
    steepSide.maxVelocity = criteria.maxVelocity;
    const auto flatOk = [&](long x) { return Serves(section, run(x), flatSide); };
    const auto steepOk = [&](long x) {
        const CalculationOutcome o = run(x);
        return !o.isReport() || Serves(section, o, steepSide);
    };
    if (!flatOk(kSteepestSlope)) {
        result.reason =
            WhyNot(section, run(kSteepestSlope), flatSide, ServeFailure::Where::SteepestSlope);
        return result;
    }
    const long flattest = flatOk(kFlattestSlope)
                              ? kFlattestSlope
                              : LargestHolding(kSteepestSlope, kFlattestSlope, flatOk);
    if (!steepOk(flattest)) {
        result.reason = MissedCriterion(section, run(flattest), steepSide,
                                        ServeFailure::Where::EveryCarryingSlope);
        result.reason.slope = flattest;
        return result;
    }
    const long steepestServing = steepOk(kSteepestSlope) ? kSteepestSlope
                                                         : SmallestHolding(kSteepestSlope, flattest,
                                                                           kSteepestSlope, steepOk);
    const auto report = [&](long x) {
        const std::string text = std::to_string(x);
        return RunCalculation(section, {discharge, text, roughness, factor});
    };
    result.steepestOutcome = report(steepestServing);
    result.flattestOutcome = report(flattest);
    if (!Serves(section, result.steepestOutcome, criteria) ||
        !Serves(section, result.flattestOutcome, criteria)) {
        result.reason = {.where = ServeFailure::Where::NoWholeSlope,
                         .channelDepth = section.channelDepth};
        return result;
    }
    result.steepest = steepestServing;
    result.flattest = flattest;
    return result;
}

std::vector<SelectionRow> SelectionTable(std::span<const long> slopes, std::string_view roughness,
                                         std::string_view factor, const DesignCriteria& criteria) {
    std::vector<SelectionRow> rows;
    rows.reserve(slopes.size());
    for (const long x : slopes) {
        SelectionRow row{.slope = x, .sections = {}};
        const std::string text = std::to_string(x);
        for (std::size_t i = 0; i < SectionCatalogue.size(); ++i) {
            row.sections[i] = FindCapacity(SectionCatalogue[i], text, roughness, factor, criteria);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace veltrane
