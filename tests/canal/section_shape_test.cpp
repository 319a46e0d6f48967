// SPDX-License-Identifier: GPL-3.0-or-later
// The U-section's geometry at any depth against the segment-and-trapezoid
// formulas of the test's own channel, in the arc, at the tangent depth, in
// the walls and above the channel's top.
#include "canal/section_shape.h"

#include <gtest/gtest.h>

#include "tests/canal/independent_channel.h"

namespace veltrane::canal {
namespace {

using test::IndependentU;

void ExpectSameShape(const IndependentU& u, double h) {
    const SectionShape shape = SectionShape::Of(u.r, u.Alpha(), u.H);
    const ShapeAt at = ShapeAtDepth(shape, h);
    EXPECT_NEAR(at.area, u.Area(h), 1e-12) << "h = " << h;
    EXPECT_NEAR(at.perimeter, u.Perimeter(h), 1e-12) << "h = " << h;
    EXPECT_NEAR(at.width, u.Width(h), 1e-12) << "h = " << h;
    EXPECT_NEAR(at.moment, u.Moment(h), 1e-10) << "h = " << h;
    // The derivatives against central differences of the test's width and
    // perimeter (one-sided at the tangent depth, where each side holds).
    constexpr double e = 1e-6;
    EXPECT_NEAR(at.dWidth, (u.Width(h + e) - u.Width(h - e)) / (2 * e), 1e-4) << "h = " << h;
    EXPECT_NEAR(at.dPerimeter, (u.Perimeter(h + e) - u.Perimeter(h - e)) / (2 * e), 1e-4)
        << "h = " << h;
}

TEST(SectionShape, StandardRowsAtDepthsInTheArcTheWallsAndAboveTheTop) {
    for (const IndependentU& u : {test::kU60, test::kU80, test::kU100, test::kU140}) {
        for (const double fraction : {0.02, 0.3, 0.75, 0.98}) {
            ExpectSameShape(u, u.TangentDepth() * fraction);
        }
        for (const double h : {u.TangentDepth() + 0.01, u.H * 0.9, u.H, u.H + 0.2}) {
            ExpectSameShape(u, h);
        }
    }
}

// Sections outside the catalogue: a vertical-walled one, a wide shallow
// arc, and a steep-walled deep one.
TEST(SectionShape, OddSections) {
    for (const IndependentU& u :
         {IndependentU{0.45, 0, 0.8}, IndependentU{1.2, 30, 0.7}, IndependentU{0.25, 44, 1.5}}) {
        for (const double h :
             {u.TangentDepth() / 3, u.TangentDepth() * 0.99, u.TangentDepth() + 0.05, u.H}) {
            ExpectSameShape(u, h);
        }
    }
}

// The row's own numbers: α from its α·π, the tangent depth r (1 − sin α).
TEST(SectionShape, FromTheCatalogueRow) {
    const SectionShape u60 = SectionShape::Of(LookupSection(SectionSize::U60));
    EXPECT_DOUBLE_EQ(u60.radius, 0.3);
    EXPECT_NEAR(u60.alpha, 7 * 3.141592654 / 180, 1e-15);
    EXPECT_DOUBLE_EQ(u60.channelDepth, 0.54);
    EXPECT_NEAR(u60.tangentDepth, 0.3 * (1 - std::sin(7 * 3.141592654 / 180)), 1e-15);
    // Continuous at the tangent depth, with its slopes.
    const ShapeAt below = ShapeAtDepth(u60, u60.tangentDepth);
    const ShapeAt above = ShapeAtDepth(u60, u60.tangentDepth + 1e-12);
    EXPECT_NEAR(below.area, above.area, 1e-12);
    EXPECT_NEAR(below.width, above.width, 1e-11);
    EXPECT_NEAR(below.dWidth, above.dWidth, 1e-6);
    EXPECT_NEAR(below.dPerimeter, above.dPerimeter, 1e-6);
}

}  // namespace
}  // namespace veltrane::canal
