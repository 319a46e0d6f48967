// SPDX-License-Identifier: GPL-3.0-or-later
// A U-channel worked out again for the tests, by other formulas than the
// library's: the circular segment by its chord height, the walls as a
// trapezoid on it, the first moment by integrating the area numerically, and
// a water surface integrated from dh/dx = (S₀ − S_f) / (1 − Fr²) with RK4.
#pragma once

#include <cmath>
#include <numbers>

namespace veltrane::canal::test {

inline constexpr double kG = 9.81;

struct IndependentU {
    double r, alphaDegrees, H;

    double Alpha() const { return alphaDegrees * std::numbers::pi / 180; }
    // The arc ends where its tangent is inclined at α: r (1 − sin α) up.
    double TangentDepth() const { return r - r * std::sin(Alpha()); }
    double Width(double h) const {
        const double t = TangentDepth();
        if (h <= t) {
            return 2 * std::sqrt(h * (2 * r - h));  // chord at height h
        }
        return 2 * std::sqrt(t * (2 * r - t)) + 2 * (h - t) * std::tan(Alpha());
    }
    // The circular segment of height h: r² acos((r − h)/r) − (r − h)√(2rh − h²).
    double Segment(double h) const {
        return r * r * std::acos((r - h) / r) - (r - h) * std::sqrt(2 * r * h - h * h);
    }
    double Area(double h) const {
        const double t = TangentDepth();
        if (h <= t) {
            return Segment(h);
        }
        const double y = h - t;
        return Segment(t) + y * (Width(t) + Width(h)) / 2;
    }
    double Perimeter(double h) const {
        const double t = TangentDepth();
        if (h <= t) {
            return 2 * r * std::acos((r - h) / r);
        }
        return 2 * r * std::acos((r - t) / r) + 2 * (h - t) / std::cos(Alpha());
    }
    // ∫₀ʰ A(y) dy by Simpson's rule on 20000 panels.
    double Moment(double h) const {
        constexpr int n = 20000;
        double sum = Area(0) + Area(h);
        for (int i = 1; i < n; ++i) {
            sum += (i % 2 ? 4 : 2) * Area(h * i / n);
        }
        return sum * h / (3 * n);
    }
    double SpecificForce(double q, double h) const { return q * q / (kG * Area(h)) + Moment(h); }
    double FrictionSlope(double q, double n, double h) const {
        const double a = Area(h), rh = a / Perimeter(h);
        return n * n * q * q / (a * a * std::pow(rh, 4.0 / 3.0));
    }
    double FroudeSquared(double q, double h) const {
        const double a = Area(h);
        return q * q * Width(h) / (kG * a * a * a);
    }
    // dh/dx along the flow for a bed falling 1/x.
    double Slope(double q, double n, double fall, double h) const {
        return (fall - FrictionSlope(q, n, h)) / (1 - FroudeSquared(q, h));
    }
    // The depth a distance d along the flow (d < 0: upstream) by RK4 steps of
    // at most 0.05 m.
    double Integrate(double q, double n, double fall, double h, double d) const {
        const int steps = static_cast<int>(std::ceil(std::fabs(d) / 0.05));
        const double dx = d / steps;
        for (int i = 0; i < steps; ++i) {
            const double k1 = Slope(q, n, fall, h);
            const double k2 = Slope(q, n, fall, h + dx / 2 * k1);
            const double k3 = Slope(q, n, fall, h + dx / 2 * k2);
            const double k4 = Slope(q, n, fall, h + dx * k3);
            h += dx / 6 * (k1 + 2 * k2 + 2 * k3 + k4);
        }
        return h;
    }
};

// The standard rows' dimensions, as the catalogue prints them: r, α, H.
inline constexpr IndependentU kU60{0.3, 7, 0.54};
inline constexpr IndependentU kU80{0.4, 8, 0.64};
inline constexpr IndependentU kU100{0.5, 9, 0.75};
inline constexpr IndependentU kU140{0.7, 11, 1.05};

}  // namespace veltrane::canal::test
