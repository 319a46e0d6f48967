// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/numbers.h"

#include <cmath>
#include <cstdio>

#include "hydraulics/number_rules.h"

namespace veltrane::views {

namespace {

// Above this, the report's printing switches to E notation.
constexpr double kLargestOrdinary = 1e15;

std::string Superscript(int exponent) {
    static constexpr const char* kDigits[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
    std::string digits;
    for (int e = std::abs(exponent);; e /= 10) {
        digits.insert(0, kDigits[e % 10]);
        if (e < 10) {
            break;
        }
    }
    return (exponent < 0 ? "⁻" : "") + digits;
}

std::string Scientific(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.2e", value);
    const std::string text(buffer);
    const std::size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    while (mantissa.back() == '0') {
        mantissa.pop_back();
    }
    if (mantissa.back() == '.') {
        mantissa.pop_back();
    }
    return mantissa + "×10" + Superscript(std::stoi(text.substr(e + 1)));
}

}  // namespace

std::string Decimal(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "—";
    }
    const double rounded = RoundHalfEven(value, decimals);
    if ((rounded == 0 && value != 0) || std::abs(rounded) >= kLargestOrdinary) {
        return Scientific(value);
    }
    std::string s = PrintedNumber(rounded, decimals);
    if (!s.empty() && s[0] == ' ') {
        s.erase(0, 1);
    }
    if (!s.empty() && s[0] == '.') {
        return "0" + s;
    }
    if (s.size() > 1 && s[0] == '-' && s[1] == '.') {
        return "-0" + s.substr(1);
    }
    return s;
}

}  // namespace veltrane::views
