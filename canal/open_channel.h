// SPDX-License-Identifier: GPL-3.0-or-later
// Steady flow in one section of a U-channel: velocity, Froude number,
// specific energy and force, Manning's friction slope, and the uniform and
// critical depths found exactly by root finding. Lengths in m, discharges in
// m³/s; the energy coefficient is 1.
#pragma once

#include <functional>
#include <optional>

#include "canal/section_shape.h"

namespace veltrane::canal {

inline constexpr double kGravity = 9.81;  // g, m/s²

// Discharge Q (m³/s, > 0) at depth h in the section, with Manning's n.
struct FlowAt {
    double depth = 0;          // h, m
    double area = 0;           // A, m²
    double perimeter = 0;      // P, m
    double width = 0;          // B, m
    double velocity = 0;       // V = Q / A, m/s
    double froude = 0;         // Fr = V / √(g A / B)
    double energy = 0;         // specific energy h + V² / 2g, m
    double frictionSlope = 0;  // S_f = n² Q² P^{4/3} / A^{10/3}
    double force = 0;          // specific force Q² / (g A) + ∫A dh, m³
    // d/dh of the specific energy (1 − Fr²) and of the friction slope.
    double dEnergy = 0;
    double dFrictionSlope = 0;
};

FlowAt FlowAtDepth(const SectionShape& shape, double discharge, double roughness, double h);

// The depth of uniform flow, where Manning's discharge at slope s (1/x) is
// Q: exact to 10⁻¹⁰ m. It may lie above H (the walls continued).
double NormalDepth(const SectionShape& shape, double discharge, double roughness, double slope);

// The critical depth, where Q² B = g A³.
double CriticalDepth(const SectionShape& shape, double discharge);

// The root of f in (low, high), where f(low) and f(high) differ in sign and
// f is monotonic; Newton's steps with its derivative df, kept inside the
// bracket by bisection. To 10⁻¹⁰ m.
double SolveBracketed(const std::function<double(double)>& f,
                      const std::function<double(double)>& df, double low, double high);

}  // namespace veltrane::canal
