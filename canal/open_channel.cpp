// SPDX-License-Identifier: GPL-3.0-or-later
#include "canal/open_channel.h"

#include <cmath>

namespace veltrane::canal {

FlowAt FlowAtDepth(const SectionShape& shape, double discharge, double roughness, double h) {
    const ShapeAt s = ShapeAtDepth(shape, h);
    FlowAt f;
    f.depth = h;
    f.area = s.area;
    f.perimeter = s.perimeter;
    f.width = s.width;
    f.velocity = discharge / s.area;
    const double fr2 = discharge * discharge * s.width / (kGravity * s.area * s.area * s.area);
    f.froude = std::sqrt(fr2);
    f.energy = h + f.velocity * f.velocity / (2 * kGravity);
    const double radius = s.area / s.perimeter;
    // R^{4/3} as R · ∛R.
    f.frictionSlope =
        roughness * roughness * f.velocity * f.velocity / (radius * std::cbrt(radius));
    f.force = discharge * discharge / (kGravity * s.area) + s.moment;
    f.dEnergy = 1 - fr2;
    // ln S_f = const + (4/3) ln P − (10/3) ln A.
    f.dFrictionSlope =
        f.frictionSlope * (4.0 / 3.0 * s.dPerimeter / s.perimeter - 10.0 / 3.0 * s.width / s.area);
    return f;
}

double SolveBracketed(const std::function<double(double)>& f,
                      const std::function<double(double)>& df, double low, double high) {
    double fLow = f(low);
    double x = (low + high) / 2;
    for (int i = 0; i < 200 && high - low > 1e-10; ++i) {
        const double fx = f(x);
        if (fx == 0) {
            return x;
        }
        if ((fx < 0) == (fLow < 0)) {
            low = x;
            fLow = fx;
        } else {
            high = x;
        }
        const double slope = df(x);
        double next = slope != 0 ? x - fx / slope : low - 1;
        // Newton's step where it stays well inside the bracket, else halve.
        if (!(next > low && next < high) || std::isnan(next)) {
            next = (low + high) / 2;
        } else if (std::fabs(next - x) < 1e-12) {
            return next;
        }
        x = next;
    }
    return x;
}

namespace {

// The shallowest depth a search starts from, m: where the arc's formulas are
// still well defined (at 0 its hydraulic radius is 0 / 0).
constexpr double kShallowest = 1e-9;

// A depth above the root of an increasing g: doubled from start until g is
// positive. Uniform and critical depths of real canals lie within metres.
double Above(const std::function<double(double)>& g, double start) {
    double high = start;
    for (int i = 0; i < 80 && g(high) <= 0; ++i) {
        high *= 2;
    }
    return high;
}

}  // namespace

double NormalDepth(const SectionShape& shape, double discharge, double roughness, double slope) {
    // A R^{2/3} = n Q / √s; A^{5/3} / P^{2/3} grows with the depth.
    const double target = roughness * discharge / std::sqrt(slope);
    const auto g = [&](double h) {
        const ShapeAt s = ShapeAtDepth(shape, h);
        const double radius = s.area / s.perimeter;
        return s.area * std::cbrt(radius * radius) - target;
    };
    const auto dg = [&](double h) {
        const ShapeAt s = ShapeAtDepth(shape, h);
        const double radius = s.area / s.perimeter;
        const double k = s.area * std::cbrt(radius * radius);
        return k * (5.0 / 3.0 * s.width / s.area - 2.0 / 3.0 * s.dPerimeter / s.perimeter);
    };
    return SolveBracketed(g, dg, kShallowest, Above(g, shape.channelDepth));
}

double CriticalDepth(const SectionShape& shape, double discharge) {
    // A³ / B = Q² / g; A³ / B grows with the depth in a U.
    const double target = discharge * discharge / kGravity;
    const auto g = [&](double h) {
        const ShapeAt s = ShapeAtDepth(shape, h);
        return s.area * s.area * s.area / s.width - target;
    };
    const auto dg = [&](double h) {
        const ShapeAt s = ShapeAtDepth(shape, h);
        const double a3b = s.area * s.area * s.area / s.width;
        return a3b * (3 * s.width / s.area - s.dWidth / s.width);
    };
    return SolveBracketed(g, dg, kShallowest, Above(g, shape.channelDepth));
}

}  // namespace veltrane::canal
