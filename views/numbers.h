// SPDX-License-Identifier: GPL-3.0-or-later
// The one rule for a number in a document, a drawing or a design aid's
// words (the report keeps its own): rounded half to even to a stated number
// of decimals, as the report rounds, in ordinary notation with a leading
// zero and without trailing zeros: 0.516, 45.034, 0.25. A value too small
// to show at those decimals, or too large for ordinary notation, is written
// with three significant digits and a power of ten: 1.35×10⁻¹².
#pragma once

#include <string>

namespace veltrane::views {

std::string Decimal(double value, int decimals);

// The decimals of each kind of quantity wherever it is written outside the
// report.
inline constexpr int kDischargeDecimals = 4;  // m³/s, as the report's kQ
inline constexpr int kLengthDecimals = 3;     // m: depths, widths, freeboard
inline constexpr int kVelocityDecimals = 3;   // m/s, as the report's V
inline constexpr int kRatioDecimals = 3;      // Fr, k
inline constexpr int kRoughnessDecimals = 4;  // n
inline constexpr int kSlopeDecimals = 2;      // x of 1/x
inline constexpr int kAngleDecimals = 2;      // degrees

}  // namespace veltrane::views
