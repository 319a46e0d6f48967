// SPDX-License-Identifier: GPL-3.0-or-later
// The printf/strtod conversions that builds without floating-point charconv
// use must print and read every double exactly as the standard library does.
#include "hydraulics/float_chars.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace veltrane {
namespace {

std::string Std(double v) {
    char b[400];
    return {b, std::to_chars(b, b + sizeof b, v).ptr};
}
std::string Fallback(double v) {
    char b[400];
    return {b, detail::PrintfToChars(b, b + sizeof b, v).ptr};
}
std::string Std(double v, std::chars_format f, int p) {
    char b[400];
    return {b, std::to_chars(b, b + sizeof b, v, f, p).ptr};
}
std::string Fallback(double v, std::chars_format f, int p) {
    char b[400];
    return {b, detail::PrintfToChars(b, b + sizeof b, v, f, p).ptr};
}

// Doubles as the program meets them (decimals typed or computed, ties at
// the report's decimals) and from every corner of the range.
std::vector<double> Samples() {
    std::vector<double> v = {0.25,
                             0.516,
                             45.034,
                             1e-9,
                             0.03125,
                             0.0001,
                             1e-5,
                             100,
                             1e15,
                             1e16,
                             1e21,
                             123456.0,
                             0.1,
                             1.0 / 3,
                             2.5,
                             -0.47,
                             5e-324,
                             2.2250738585072014e-308,
                             std::numeric_limits<double>::max(),
                             -0.0,
                             0.0,
                             9007199254740993.0};
    std::mt19937_64 rng(20261208);
    std::uniform_int_distribution<std::uint64_t> bits;
    std::uniform_real_distribution<double> unit(0, 1);
    for (int i = 0; i < 20000; ++i) {
        const double any = std::bit_cast<double>(bits(rng));
        if (std::isfinite(any)) {
            v.push_back(any);
        }
        v.push_back(std::round(unit(rng) * 1e6) / 1e4);          // 4 decimals, as typed
        v.push_back(unit(rng) * std::pow(10.0, (i % 40) - 20));  // every decade
    }
    return v;
}

TEST(FloatChars, ShortestPrintsAsTheStandardLibrary) {
    for (double v : Samples()) {
        ASSERT_EQ(Fallback(v), Std(v)) << std::bit_cast<std::uint64_t>(v);
    }
}

TEST(FloatChars, FixedAndScientificPrintAsTheStandardLibrary) {
    for (double v : Samples()) {
        for (int p : {0, 2, 3, 4, 6, 14, 20}) {
            ASSERT_EQ(Fallback(v, std::chars_format::fixed, p), Std(v, std::chars_format::fixed, p))
                << v << " " << p;
            ASSERT_EQ(Fallback(v, std::chars_format::scientific, p),
                      Std(v, std::chars_format::scientific, p))
                << v << " " << p;
        }
    }
}

TEST(FloatChars, ReadsAsTheStandardLibrary) {
    std::vector<std::string> texts = {"0.25",
                                      "-1.5e3",
                                      "1e-400",
                                      "1e400",
                                      "-1e400",
                                      "4e-324",
                                      "2e-324",
                                      "0",
                                      "-0",
                                      "000.000",
                                      "1.",
                                      ".5",
                                      "1e",
                                      "1e+",
                                      "1e+5x",
                                      "+1",
                                      " 1",
                                      "0x10",
                                      "inf",
                                      "-Infinity",
                                      "nan",
                                      "abc",
                                      "",
                                      "-",
                                      ".",
                                      "1,5",
                                      "12e-3.4",
                                      "9" + std::string(400, '9'),
                                      "0." + std::string(400, '0') + "1"};
    for (double v : Samples()) {
        texts.push_back(Std(v));
        texts.push_back(Std(v, std::chars_format::scientific, 16));
    }
    for (const std::string& t : texts) {
        double expected = -7, actual = -7;
        const auto e = std::from_chars(t.data(), t.data() + t.size(), expected);
        const auto a = detail::StrtodFromChars(t.data(), t.data() + t.size(), actual);
        ASSERT_EQ(a.ec, e.ec) << t;
        ASSERT_EQ(a.ptr - t.data(), e.ptr - t.data()) << t;
        if (std::isnan(expected)) {
            ASSERT_TRUE(std::isnan(actual)) << t;
        } else {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected))
                << t;
        }
    }
}

TEST(FloatChars, TooSmallABufferIsReported) {
    char b[4];
    const auto r = detail::PrintfToChars(b, b + sizeof b, 0.516);
    EXPECT_EQ(r.ec, std::errc::value_too_large);
    EXPECT_EQ(r.ptr, b + sizeof b);
}

}  // namespace
}  // namespace veltrane
