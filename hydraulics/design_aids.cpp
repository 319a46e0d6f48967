// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/design_aids.h"

#include <algorithm>
#include <charconv>
#include <functional>

#include "hydraulics/float_chars.h"
#include "hydraulics/number_rules.h"

namespace veltrane {

namespace {

// The first criterion a report misses, or Why::None.
ServeFailure MissedCriterion(const USection& section, const CalculationOutcome& o,
                             const DesignCriteria& criteria, ServeFailure::Where where) {
    ServeFailure f{.where = where, .channelDepth = section.channelDepth};
    for (const CriterionCheck& c : CheckRun(section, o, criteria)) {
        if (c.passes) {
            continue;
        }
        f.value = c.value;
        f.limit = c.limit;
        f.flow = c.flow;
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

// The largest n in [lo, hi) for which ok holds, given ok(lo), !ok(hi) and
// an ok that holds up to some n and fails beyond it.
std::int64_t LargestHolding(std::int64_t lo, std::int64_t hi,
                            const std::function<bool(std::int64_t)>& ok) {
    while (hi - lo > 1) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        (ok(mid) ? lo : hi) = mid;
    }
    return lo;
}

}  // namespace

bool Serves(const USection& section, const CalculationOutcome& outcome,
            const DesignCriteria& criteria) {
    return outcome.isReport() && AllPass(CheckRun(section, outcome, criteria));
}

std::string DischargeText(std::int64_t tenThousandths) {
    std::string fraction = std::to_string(tenThousandths % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    return std::to_string(tenThousandths / 10000) + "." + fraction;
}

CapacityResult FindCapacity(const USection& section, std::string_view slope,
                            std::string_view roughness, std::string_view factor,
                            const DesignCriteria& criteria) {
    CapacityResult result;
    result.section = &section;
    const auto run = [&](std::int64_t q) {
        const std::string text = DischargeText(q);
        return EvaluateCalculation(section, {text, slope, roughness, factor});
    };
    if (const CalculationOutcome probe = run(10000); probe.rejectsInputs()) {
        result.rejected = probe.message();
        return result;
    }
    // Whether a discharge serves is monotone in it: the depths' steps only
    // rise with Q (the first step whose discharge passes Q, at one slope),
    // so do the freeboard's and the overflows' verdicts, and the velocity,
    // which depends on the step alone (V = C·√(R/x) there), rises with the
    // step. So bisection finds the largest that serves, and the guard steps
    // after it only confirm. The lowest velocity is met by larger
    // discharges, everything else by smaller ones: search without it, then
    // check it at the answer.
    DesignCriteria upper = criteria;
    upper.minVelocity.reset();
    const auto ok = [&](std::int64_t q) { return Serves(section, run(q), upper); };
    if (!ok(1)) {
        result.reason = WhyNot(section, run(1), upper, ServeFailure::Where::SmallestDischarge);
        return result;
    }
    std::int64_t lo = 1;
    std::int64_t hi = 2;
    while (ok(hi)) {
        lo = hi;
        if (hi == kLargestCapacity) {
            break;
        }
        hi = std::min(hi * 2, kLargestCapacity);
    }
    const std::int64_t q = lo == kLargestCapacity ? lo : LargestHolding(lo, hi, ok);
    result.atSearchLimit = q == kLargestCapacity;
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
        return RunCalculation(section, {discharge, text, roughness, factor});
    };
    if (const CalculationOutcome probe =
            EvaluateCalculation(section, {discharge, std::string_view("500"), roughness, factor});
        probe.rejectsInputs()) {
        result.rejected = probe.message();
        return result;
    }
    // Every whole slope is judged; none is inferred from its neighbours. The
    // printed velocity is not monotone in the slope: it falls as the slope
    // flattens while the depth stays on one step, and jumps back up when the
    // depth moves a step, so a lowest or highest velocity can be met again
    // after it was missed, and no bisection can be trusted with it. A sweep
    // over the depth grid costs a few powers per slope (about 10⁵ slopes, a
    // few milliseconds), and each slope's searches are those of a single run
    // to the last bit (DepthGrid), judged by the run's own rules.
    const ParsedInputs v = ParseInputs({discharge, std::string_view("500"), roughness, factor});
    const DepthGrid design(section, v.roughness, SearchKind::Design);
    const DepthGrid check(section, v.roughness, SearchKind::Check);
    // What fails as the slope flattens (x grows): the depths, the freeboard,
    // the lowest velocity. What fails as it steepens: the highest velocity.
    DesignCriteria flatSide = criteria;
    flatSide.maxVelocity.reset();
    DesignCriteria steepSide;
    steepSide.maxVelocity = criteria.maxVelocity;
    std::optional<long> flattestCarrying;  // the flattest slope that meets the flat side
    std::size_t designHint = 0;
    std::size_t checkHint = 0;
    // The lowest velocity at the minimum discharge, where one is given and
    // not above Q: its own search on the same grid.
    const bool atMinimum = criteria.minVelocity && criteria.minDischarge &&
                           *criteria.minDischarge > 0 && *criteria.minDischarge <= v.discharge;
    std::size_t minimumHint = 0;
    DepthSearchResult minimum;
    SearchOutcome s;
    s.checkDischarge = v.factor * v.discharge;
    for (long x = kSteepestSlope; x <= kFlattestSlope; ++x) {
        const double slope = static_cast<double>(x);
        s.design = design.Search(v.discharge, slope, designHint);
        s.check = check.Search(s.checkDischarge, slope, checkHint);
        if (SearchVerdict(section, s)) {
            continue;
        }
        if (atMinimum) {
            minimum = design.Search(*criteria.minDischarge, slope, minimumHint);
        }
        const std::vector<CriterionCheck> checks =
            CheckCriteria(section, s, criteria, atMinimum ? &minimum : nullptr);
        const auto passes = [&](CriterionKind kind) {
            return std::all_of(checks.begin(), checks.end(),
                               [&](const CriterionCheck& c) { return c.kind != kind || c.passes; });
        };
        const bool flatOk =
            passes(CriterionKind::MinFreeboard) && passes(CriterionKind::MinVelocity);
        if (flatOk) {
            flattestCarrying = x;
        }
        if (flatOk && passes(CriterionKind::MaxVelocity)) {
            result.flattest = x;
            if (!result.steepest) {
                result.steepest = x;
            }
        }
    }
    if (!result.steepest) {
        if (!flattestCarrying) {
            result.reason =
                WhyNot(section, run(kSteepestSlope), flatSide, ServeFailure::Where::SteepestSlope);
        } else {
            result.reason = MissedCriterion(section, run(*flattestCarrying), steepSide,
                                            ServeFailure::Where::EveryCarryingSlope);
            result.reason.slope = *flattestCarrying;
        }
        if (result.reason.why == ServeFailure::Why::None) {
            result.reason = {.where = ServeFailure::Where::NoWholeSlope,
                             .channelDepth = section.channelDepth};
        }
        return result;
    }
    // The answers stand as the runs a user would make at them.
    result.steepestOutcome = run(*result.steepest);
    result.flattestOutcome = run(*result.flattest);
    if (!Serves(section, result.steepestOutcome, criteria) ||
        !Serves(section, result.flattestOutcome, criteria)) {
        result.steepest.reset();
        result.flattest.reset();
        result.reason = {.where = ServeFailure::Where::NoWholeSlope,
                         .channelDepth = section.channelDepth};
    }
    return result;
}

std::vector<SelectionRow> SelectionTable(std::span<const long> slopes, std::string_view roughness,
                                         std::string_view factor, const DesignCriteria& criteria,
                                         std::span<const USection* const> sections) {
    std::vector<SelectionRow> rows;
    rows.reserve(slopes.size());
    for (const long x : slopes) {
        SelectionRow row{.slope = x, .sections = {}};
        const std::string text = std::to_string(x);
        for (const USection* section : sections) {
            row.sections.push_back(FindCapacity(*section, text, roughness, factor, criteria));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace veltrane
