// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/flow_extras.h"

#include <cmath>

namespace veltrane {

namespace {

// Area and surface width of the section at depth h; they do not depend on
// the roughness or the slope.
FlowElements Geometry(const USection& section, double h) {
    return ComputeFlowElements(section, h, {.roughness = 1, .slope = 1}, SearchKind::Design);
}

}  // namespace

double FroudeNumber(const FlowElements& e) {
    return e.velocity / std::sqrt(kGravity * e.area / e.surfaceWidth);
}

double DesignFroudeNumber(const USection& section, const SearchOutcome& searches,
                          double discharge) {
    FlowElements at = Geometry(section, searches.design.reportedDepth);
    at.velocity = discharge / at.area;
    return FroudeNumber(at);
}

FlowRegime RegimeOf(double froude) {
    return froude < 1 ? FlowRegime::Subcritical : FlowRegime::Supercritical;
}

std::string_view RegimeName(FlowRegime regime) {
    return regime == FlowRegime::Subcritical ? "subcritical" : "supercritical";
}

std::optional<double> CriticalDepth(const USection& section, double discharge) {
    // Q²·b / (g·A³) falls as the depth rises; it is 1 at the critical depth.
    const auto above = [&](double h) {
        const FlowElements g = Geometry(section, h);
        return discharge * discharge * g.surfaceWidth >
               kGravity * g.area * g.area * g.area;  // still below the critical depth
    };
    double low = 0;
    double high = section.channelDepth;
    if (above(high)) {
        return std::nullopt;
    }
    while (high - low > 1e-6) {
        const double mid = (low + high) / 2;
        (above(mid) ? low : high) = mid;
    }
    return (low + high) / 2;
}

double DeepestSearchDepth(const USection& section) {
    double h = 0.001;
    while (h + 0.001 <= section.channelDepth) {
        h = h + 0.001;  // the same running sum as the search
    }
    return h;
}

double Capacity(const USection& section, const ChannelBed& bed) {
    return ComputeFlowElements(section, DeepestSearchDepth(section), bed, SearchKind::Design)
        .discharge;
}

double HalfWidthAt(const USection& section, double y) {
    const double r = section.radius;
    const double t = TangentDepth(section);
    if (y <= t) {
        const double d = r - y;
        return std::sqrt(r * r - d * d);
    }
    const double alpha = section.alphaPi / 180;
    return r * std::cos(alpha) + (y - t) * std::tan(alpha);
}

std::vector<RatingRow> RatingTable(const USection& section, const ChannelBed& bed, double step) {
    std::vector<RatingRow> rows;
    const double top = section.channelDepth;
    // Depths as multiples of the step, so a long table does not drift; one
    // that lands within a micrometre of the top gives way to the top itself.
    for (long i = 1;; ++i) {
        const double h = static_cast<double>(i) * step;
        if (h > top - 1e-6) {
            break;
        }
        const FlowElements e = ComputeFlowElements(section, h, bed, SearchKind::Design);
        rows.push_back({e, FroudeNumber(e)});
    }
    const FlowElements e = ComputeFlowElements(section, top, bed, SearchKind::Design);
    rows.push_back({e, FroudeNumber(e)});
    return rows;
}

FitResult FitSections(const CalculationInputs& inputs, const DesignCriteria& criteria,
                      std::span<const USection* const> sections) {
    FitResult result;
    result.rows.resize(sections.size());
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const USection& section = *sections[i];
        FitRow& row = result.rows[i];
        row.section = &section;
        row.outcome = EvaluateCalculation(section, inputs);
        if (row.outcome.isReport()) {
            const SearchOutcome& s = *row.outcome.searches;
            row.freeboard = section.channelDepth - s.check.reportedDepth;
            row.froude = DesignFroudeNumber(section, s, row.outcome.inputs.discharge);
            row.criteria = CheckRun(section, row.outcome, criteria);
            row.status = AllPass(row.criteria) ? FitStatus::Fits : FitStatus::FailsCriteria;
            if (row.status == FitStatus::Fits && !result.smallest) {
                result.smallest = &section;
            }
            continue;
        }
        const CalculationMessage& m = row.outcome.message();
        if (m.number == MessageNumber::DesignOverflow) {
            row.status = FitStatus::DesignAbove;
        } else if (m.number == MessageNumber::CheckOverflow) {
            row.status = FitStatus::CheckAbove;
        } else {
            row.status = FitStatus::Message;
            if (!result.rejected) {
                result.rejected = m;
            }
        }
    }
    if (result.rejected) {
        result.smallest = nullptr;
    }
    return result;
}

}  // namespace veltrane
