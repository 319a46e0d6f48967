// What an engineer asks next, from the same geometry and flow elements as
// the calculation: the flow regime, the critical depth, the freeboard and
// the capacity of a section, its rating table, and which section fits.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "calculation_run.h"

namespace veltrane {

inline constexpr double kGravity = 9.81;  // m/s²

// Fr = V / √(g·A/b), from elements of a Design evaluation.
double FroudeNumber(const FlowElements& e);

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
double Capacity(const USection& section, double n, double x);

// Half the width of the section at height y above its lowest point, m.
double HalfWidthAt(const USection& section, double y);

struct RatingRow {
    FlowElements elements;  // of a Design evaluation
    double froude;
};

// Rows at step, 2·step, … below the channel depth, then at the channel depth
// itself. step > 0 and ≤ channel depth.
std::vector<RatingRow> RatingTable(const USection& section, double n, double x, double step);

enum class FitStatus { Fits, DesignAbove, CheckAbove, Message };

struct FitRow {
    SectionSize size;
    FitStatus status;
    CalculationOutcome outcome;  // without report text
    double freeboard = 0;        // channel depth − check depth, m (Fits only)
    double froude = 0;           // at the design depth (Fits only)
};

struct FitResult {
    std::array<FitRow, kSectionCount> rows;
    // The smallest section that carries both discharges.
    std::optional<SectionSize> smallest;
    // Set when the texts themselves are rejected; it is the same for every size.
    bool inputRejected = false;
};

// Runs the calculation for every standard section with the same four texts.
FitResult FitSections(const CalculationInputs& inputs);

}  // namespace veltrane
