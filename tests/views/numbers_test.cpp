// SPDX-License-Identifier: GPL-3.0-or-later
// The one number rule outside the report: stated decimals, a leading zero,
// and a power of ten where ordinary notation would show nothing or too much.
#include "views/numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace veltrane::views {
namespace {

TEST(Decimal, OrdinaryNotationToTheStatedDecimals) {
    EXPECT_EQ(Decimal(0.5160000000000003, 3), "0.516");
    EXPECT_EQ(Decimal(0.22499999999999998, 4), "0.225");
    EXPECT_EQ(Decimal(45.03422351538237, 3), "45.034");
    EXPECT_EQ(Decimal(-0.25, 3), "-0.25");
    EXPECT_EQ(Decimal(1.0, 3), "1");
    EXPECT_EQ(Decimal(0, 3), "0");
    EXPECT_EQ(Decimal(500, 2), "500");
    // Half to even, as the report rounds, on halves a double holds exactly.
    EXPECT_EQ(Decimal(0.125, 2), "0.12");
    EXPECT_EQ(Decimal(0.375, 2), "0.38");
}

TEST(Decimal, APowerOfTenWhereOrdinaryNotationFails) {
    EXPECT_EQ(Decimal(1.3500000000000001e-12, 4), "1.35×10⁻¹²");
    EXPECT_EQ(Decimal(1e-12, 4), "1×10⁻¹²");
    EXPECT_EQ(Decimal(-4e-7, 4), "-4×10⁻⁷");
    EXPECT_EQ(Decimal(2.5e20, 4), "2.5×10²⁰");
    EXPECT_EQ(Decimal(1e15, 4), "1×10¹⁵");
    EXPECT_EQ(Decimal(std::numeric_limits<double>::infinity(), 3), "—");
    EXPECT_EQ(Decimal(std::numeric_limits<double>::quiet_NaN(), 3), "—");
}

}  // namespace
}  // namespace veltrane::views
