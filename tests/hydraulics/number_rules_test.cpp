// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/number_rules.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace veltrane {
namespace {

struct ParseCase {
    const char* name;
    std::string text;
    double value;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseNumberTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, Reads) {
    const double v = ParseNumber(GetParam().text);
    EXPECT_EQ(v, GetParam().value) << '"' << GetParam().text << '"';
    EXPECT_EQ(std::signbit(v), std::signbit(GetParam().value)) << '"' << GetParam().text << '"';
}

const double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumberTest,
    ::testing::Values(
        ParseCase{"Empty", "", 0}, ParseCase{"Letters", "abc", 0},
        ParseCase{"TrailingUnit", " 0.25 m", 0.25}, ParseCase{"Comma", "1,5", 1},
        ParseCase{"CommaAfterZero", "0,25", 0}, ParseCase{"InnerBlank", "2 50", 250},
        ParseCase{"Exponent", "1e-1", 0.1}, ParseCase{"ExponentD", "2.5D2", 250},
        ParseCase{"ExponentUpper", "3E+2", 300}, ParseCase{"ExponentWithoutDigits", "7e", 7},
        ParseCase{"ExponentSignOnly", "7e-", 7}, ParseCase{"BlankAfterSign", "- 5", -5},
        ParseCase{"TabsAndLineFeeds", "\t1\n2.\t5", 12.5},
        ParseCase{"CarriageReturnStops", "1\r2", 1}, ParseCase{"PlusSign", "+0.017", 0.017},
        ParseCase{"SecondSignStops", "--1", 0}, ParseCase{"PlusMinus", "+-1", 0},
        ParseCase{"SecondPointStops", "1.2.3", 1.2}, ParseCase{"LeadingPoint", ".5", 0.5},
        ParseCase{"BarePoint", ".", 0}, ParseCase{"NegativeZero", "-0", 0},
        ParseCase{"LeadingZeros", "000120", 120}, ParseCase{"FractionZeros", "0.000120", 0.00012},
        ParseCase{"Hex", "&H1F", 31}, ParseCase{"HexLower", "&hff", 255},
        ParseCase{"Hex16BitSigned", "&HFFFF", -1}, ParseCase{"Hex16BitMin", "&H8000", -32768},
        ParseCase{"Hex32Bit", "&H10000", 65536},
        ParseCase{"Hex32BitSigned", "&H80000000", -2147483648.0},
        ParseCase{"Hex32BitAllOnes", "&HFFFFFFFF", -1},
        ParseCase{"HexWide", "&H100000000", 4294967296.0},
        ParseCase{"HexWrapsAt64Bits", "&H10000000000000001", 1}, ParseCase{"Octal", "&O17", 15},
        ParseCase{"Octal16BitSigned", "&O177777", -1}, ParseCase{"OctalStopsAtEight", "&O78", 7},
        ParseCase{"HexStopsAtG", "&H1G", 1}, ParseCase{"BareAmpersand", "&", 0},
        ParseCase{"AmpersandOther", "&X1", 0}, ParseCase{"SignBeforeHex", "-&H1", 0},
        ParseCase{"BlankInPrefix", "& H 1 0", 16}, ParseCase{"BeyondRange", "1e400", kInf},
        ParseCase{"NegativeBeyondRange", "-1e400", -kInf}, ParseCase{"Subnormal", "1e-310", 1e-310},
        ParseCase{"Underflow", "1e-400", 0},
        ParseCase{"HugeExponent", "1e99999999999999999999999", kInf},
        ParseCase{"HugeNegativeExponent", "5e-99999999999999999999999", 0},
        ParseCase{"LongFraction", "0." + std::string(5000, '0') + "1e5001", 1},
        ParseCase{"LongInteger", "1" + std::string(1000, '0') + "e-1000", 1}),
    [](const auto& info) { return std::string(info.param.name); });

// 1 + 2^-53 lies halfway between 1 and the next double: the tie goes to the
// even 1, and a non-zero digit however far behind it rounds up.
TEST(ParseNumber, RoundsLongTextsCorrectly) {
    const std::string tie = "1.00000000000000011102230246251565404236316680908203125";
    const double next = std::nextafter(1.0, 2.0);
    EXPECT_EQ(ParseNumber(tie), 1.0);
    EXPECT_EQ(ParseNumber(tie + std::string(3000, '0') + "1"), next);
    EXPECT_EQ(ParseNumber(std::string(2000, '0') + tie + std::string(3000, '0') + "1"), next);
    EXPECT_EQ(ParseNumber(tie.substr(0, tie.size() - 1) + "4" + std::string(3000, '9')), 1.0);
}

// The exponent and the position of the digits together place the number,
// however far apart they lie: "1" and 100,001 zeros times 10^-100001 is 1.
TEST(ParseNumber, ReadsTextsOfAnyLength) {
    const std::string zeros(100001, '0');
    EXPECT_EQ(ParseNumber("1" + zeros + "e-100001"), 1.0);
    EXPECT_EQ(ParseNumber("1" + zeros + "e-100002"), 0.1);
    EXPECT_EQ(ParseNumber("0." + zeros + "25e100002"), 2.5);
    EXPECT_EQ(ParseNumber("25" + std::string(400000, '0') + "e-400002"), 0.25);
    EXPECT_EQ(ParseNumber("1" + zeros + "e-99999999999999999999"), 0.0);
    EXPECT_EQ(ParseNumber("1e99999999999999999999"), std::numeric_limits<double>::infinity());
}

// The program's toolkit adopts the user's locale, where the decimal point
// may be a comma; the number rules must not follow it.
bool UseCommaLocale() {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        return true;
    }
#ifdef __linux__
    // Build the locale where the system has only its sources.
    const std::string dir = ::testing::TempDir() + "veltrane-locales";
    const std::string command = "mkdir -p " + dir + " && localedef -i de_DE -f UTF-8 " + dir +
                                "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0) {
        ::setenv("LOCPATH", dir.c_str(), 1);
        return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
#endif
    return false;
}

TEST(ParseNumber, DoesNotDependOnTheLocale) {
    struct Restore {
        std::string name = std::setlocale(LC_NUMERIC, nullptr);
        ~Restore() { std::setlocale(LC_NUMERIC, name.c_str()); }
    } restore;
    if (!UseCommaLocale()) {
        GTEST_SKIP() << "no locale with a decimal comma here";
    }
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    EXPECT_EQ(ParseNumber("0.017"), 0.017);
    EXPECT_EQ(ParseNumber("1,5"), 1);
    EXPECT_EQ(RoundHalfEven(0.5155, 3), 0.515);
    EXPECT_EQ(FormatResultNumber(45.034), " 45.034");
}

struct RoundCase {
    const char* name;
    double value;
    int decimals;
    double expected;
};

void PrintTo(const RoundCase& c, std::ostream* os) {
    *os << c.name;
}

class RoundHalfEvenTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenTest, Rounds) {
    EXPECT_EQ(RoundHalfEven(GetParam().value, GetParam().decimals), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundHalfEvenTest,
    ::testing::Values(
        RoundCase{"ExactTieDown", 0.03125, 4, 0.0312}, RoundCase{"ExactTieUp", 0.09375, 4, 0.0938},
        RoundCase{"NotATieAbove", 0.03135, 4, 0.0314},  // 0.03135000000000000286…
        RoundCase{"NotATieBelow", 0.0625 + 1e-17, 3, 0.063}, RoundCase{"HalfToEvenZero", 0.5, 0, 0},
        RoundCase{"HalfToTwo", 1.5, 0, 2}, RoundCase{"TwoAndAHalf", 2.5, 0, 2},
        RoundCase{"BelowHalfOfLastPlace", 0.00049, 3, 0},
        RoundCase{"CarryThroughNines", 0.99996, 4, 1}, RoundCase{"Negative", -0.03125, 4, -0.0312},
        RoundCase{"LargeWhole", 1e20, 4, 1e20}, RoundCase{"Subnormal", 5e-324, 4, 0},
        RoundCase{"JustBelowHalf", 0.5155, 3, 0.515},
        RoundCase{"ThreeDecimals", 45.03422351538237, 3, 45.034}),
    [](const auto& info) { return std::string(info.param.name); });

// The quick rounding gives what printing the exact value and reading it
// back gives, to the bit: values as typed and computed, ties at every place,
// sizes from the tiny to beyond 2^53, every number of decimals.
TEST(RoundHalfEven, KeepsToTheRuleOfPrintingTheExactValue) {
    std::mt19937_64 rng(20261209);
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_int_distribution<std::uint64_t> bits;
    std::vector<double> values = {0.03125,
                                  0.09375,
                                  2.5,
                                  0.5,
                                  1.5,
                                  6e-21,
                                  5e-21,
                                  4.9e-21,
                                  2.6e-23,
                                  9007199254740993.0,
                                  4503599627370497.5,
                                  1e-300,
                                  0.0625};
    for (int i = 0; i < 100000; ++i) {
        values.push_back(unit(rng) * std::pow(10.0, i % 30 - 22));      // every decade
        values.push_back(std::round(unit(rng) * 1e6) / 1e4 + 0.00005);  // ties at 4 places, nearly
        values.push_back(std::ldexp(std::floor(unit(rng) * 4096), -(i % 14)));  // exact ties
        std::uint64_t b = bits(rng);
        double any = 0;
        std::memcpy(&any, &b, sizeof any);
        if (std::isfinite(any)) {
            values.push_back(any);
        }
    }
    for (const double v : values) {
        for (int d = 0; d <= 20; d += (d < 6 ? 1 : 7)) {
            const double quick = RoundHalfEven(v, d), rule = detail::RoundHalfEvenByPrinting(v, d);
            ASSERT_EQ(std::signbit(quick), std::signbit(rule)) << v << " " << d;
            ASSERT_EQ(quick, rule) << std::hexfloat << v << " " << d;
            ASSERT_EQ(RoundHalfEven(-v, d), detail::RoundHalfEvenByPrinting(-v, d))
                << v << " " << d;
        }
    }
}

TEST(RoundHalfEven, LeavesNonFiniteValues) {
    EXPECT_EQ(RoundHalfEven(kInf, 3), kInf);
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""), 3)));
}

struct FormatCase {
    const char* name;
    double value;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

class FormatResultNumberTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatResultNumberTest, Formats) {
    EXPECT_EQ(FormatResultNumber(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatResultNumberTest,
    ::testing::Values(
        FormatCase{"BelowOne", 0.516, " .516"}, FormatCase{"AboveOne", 1.376, " 1.376"},
        FormatCase{"Tens", 45.034, " 45.034"}, FormatCase{"TrailingZero", 0.47, " .47"},
        FormatCase{"Zero", 0, " 0"}, FormatCase{"NegativeZero", -0.0, " 0"},
        FormatCase{"One", 1, " 1"}, FormatCase{"Negative", -0.25, "-.25"},
        FormatCase{"Small", 0.0001, " .0001"}, FormatCase{"Whole", 120, " 120"},
        FormatCase{"FifteenDigits", 0.1 + 0.2, " .3"},
        FormatCase{"FifteenSignificant", 123456.789012345678, " 123456.789012346"},
        FormatCase{"Tiny", 1e-20, " .00000000000000000001"},
        FormatCase{"BelowExponentForm", 999999999999999, " 999999999999999"},
        FormatCase{"RoundsIntoExponentForm", 999999999999999.9, " 1E+15"},
        FormatCase{"ExponentForm", 1e15, " 1E+15"},
        FormatCase{"LongMantissa", 4.00000000000001e199, " 4.00000000000001E+199"},
        FormatCase{"NegativeExponentForm", -2.5e300, "-2.5E+300"},
        FormatCase{"Largest", std::numeric_limits<double>::max(), " 1.79769313486232E+308"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veltrane
