// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/float_chars.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace veltrane {

namespace detail {

namespace {

std::to_chars_result Copy(char* first, char* last, std::string_view text) {
    if (static_cast<std::size_t>(last - first) < text.size()) {
        return {last, std::errc::value_too_large};
    }
    std::memcpy(first, text.data(), text.size());
    return {first + text.size(), std::errc()};
}

std::string_view NonFinite(double value) {
    if (std::isnan(value)) {
        return std::signbit(value) ? "-nan" : "nan";
    }
    return value < 0 ? "-inf" : "inf";
}

// printf of a double into a string; the C library's printf is exact.
std::string Printf(const char* format, int precision, double value) {
    // 309 integer digits, a sign, a point and the decimals.
    std::string text(static_cast<std::size_t>(precision) + 330, '\0');
    const int n = std::snprintf(text.data(), text.size(), format, precision, value);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool StartsWithNoCase(const char* first, const char* last, std::string_view word) {
    if (static_cast<std::size_t>(last - first) < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = first[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != word[i]) {
            return false;
        }
    }
    return true;
}

// A value that is a decimal of up to eight places, as "%.*e" prints its
// fewest digits ("1.00727e+02"); none for any other. Most numbers a sheet or
// an answer prints are such (levels and depths to the millimetre). q / 10^d
// is correctly rounded, so where it gives value back the decimal q·10^-d
// reads back to value; the first d that does gives the fewest digits, as a
// shorter decimal would have had fewer places.
std::optional<std::string> FewDecimals(double value) {
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-6 && magnitude < 1e7)) {
        return std::nullopt;
    }
    double power = 1;
    for (int d = 0; d <= 8; ++d, power *= 10) {
        const double q = std::nearbyint(magnitude * power);
        if (q >= 9007199254740992.0 || q / power != magnitude) {
            continue;
        }
        std::string digits = std::to_string(static_cast<std::uint64_t>(q));
        const int exponent = static_cast<int>(digits.size()) - 1 - d;
        while (digits.size() > 1 && digits.back() == '0') {
            digits.pop_back();
        }
        std::string sci = value < 0 ? "-" : "";
        sci += digits[0];
        if (digits.size() > 1) {
            sci += '.';
            sci.append(digits, 1, std::string::npos);
        }
        sci += exponent < 0 ? "e-" : "e+";
        const int e = exponent < 0 ? -exponent : exponent;
        sci += static_cast<char>('0' + e / 10);
        sci += static_cast<char>('0' + e % 10);
        return sci;
    }
    return std::nullopt;
}

}  // namespace

std::to_chars_result PrintfToChars(char* first, char* last, double value, std::chars_format format,
                                   int precision) {
    if (!std::isfinite(value)) {
        return Copy(first, last, NonFinite(value));
    }
    const char* conversion = format == std::chars_format::scientific ? "%.*e" : "%.*f";
    return Copy(first, last, Printf(conversion, precision, value));
}

std::to_chars_result PrintfToChars(char* first, char* last, double value) {
    if (!std::isfinite(value)) {
        return Copy(first, last, NonFinite(value));
    }
    if (value == 0) {
        return Copy(first, last, std::signbit(value) ? "-0" : "0");
    }
    // The fewest significant digits that read back to value: printf rounds
    // correctly, so the first precision that round-trips gives the digits
    // the shortest-form algorithms choose. Most values round-trip at 15
    // digits, and then those digits less their trailing zeros are the
    // shortest: a 15-digit grid is finer than the doubles, so at most one of
    // its points reads back to value, and a shorter form that does is that
    // point. One printf instead of up to fifteen (printf is slow where long
    // double is emulated, as in WebAssembly). Not so for subnormal values,
    // whose doubles lie further apart than their digits.
    std::string sci;
    if (const auto few = FewDecimals(value)) {
        sci = *few;
    } else if (sci = Printf("%.*e", 14, value);
               std::fabs(value) >= std::numeric_limits<double>::min() &&
               std::strtod(sci.c_str(), nullptr) == value) {
        const std::size_t e = sci.find('e');
        std::size_t end = sci.find_last_not_of('0', e - 1) + 1;
        if (sci[end - 1] == '.') {
            --end;
        }
        sci.erase(end, e - end);
    } else {
        for (int precision = std::fabs(value) >= std::numeric_limits<double>::min() ? 15 : 0;
             precision <= 17; ++precision) {
            sci = Printf("%.*e", precision, value);
            if (std::strtod(sci.c_str(), nullptr) == value) {
                break;
            }
        }
    }
    const std::string_view text(sci);
    const std::size_t sign = value < 0 ? 1 : 0;
    const std::size_t e = text.find('e');
    std::string digits(1, text[sign]);
    if (e > sign + 1) {
        digits.append(text.substr(sign + 2, e - sign - 2));
    }
    const long exponent = std::strtol(sci.c_str() + e + 1, nullptr, 10);
    const auto n = static_cast<long>(digits.size());

    std::string fixed(sign ? "-" : "");
    if (exponent >= n - 1) {
        // A whole number: as long as the digits with zeros, and the standard
        // library prints its exact value, the nearest of equal length.
        fixed = Printf("%.*f", 0, value);
    } else if (exponent >= 0) {
        fixed.append(digits, 0, static_cast<std::size_t>(exponent + 1));
        fixed += '.';
        fixed.append(digits, static_cast<std::size_t>(exponent + 1), std::string::npos);
    } else {
        fixed += "0.";
        fixed.append(static_cast<std::size_t>(-exponent - 1), '0');
        fixed += digits;
    }
    return Copy(first, last, fixed.size() <= sci.size() ? std::string_view(fixed) : text);
}

std::from_chars_result StrtodFromChars(const char* first, const char* last, double& value) {
    const char* p = first;
    const bool negative = p != last && *p == '-';
    if (negative) {
        ++p;
    }
    for (std::string_view word : {"infinity", "inf", "nan"}) {
        if (StartsWithNoCase(p, last, word)) {
            const double magnitude = word == "nan" ? std::nan("") : HUGE_VAL;
            value = negative ? -magnitude : magnitude;
            return {p + word.size(), std::errc()};
        }
    }
    const char* digitsStart = p;
    bool anyDigit = false;
    bool nonZero = false;
    for (; p != last && IsDigit(*p); ++p) {
        anyDigit = true;
        nonZero = nonZero || *p != '0';
    }
    if (p != last && *p == '.') {
        ++p;
        for (; p != last && IsDigit(*p); ++p) {
            anyDigit = true;
            nonZero = nonZero || *p != '0';
        }
    }
    if (!anyDigit) {
        return {first, std::errc::invalid_argument};
    }
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q != last && (*q == '+' || *q == '-')) {
            ++q;
        }
        if (q != last && IsDigit(*q)) {
            while (q != last && IsDigit(*q)) {
                ++q;
            }
            p = q;
        }
    }
    // strtod reads a copy that holds exactly the accepted characters, so it
    // neither skips blanks nor reads hex; the copy is in the "C" locale's form.
    const std::string text(digitsStart, p);
    errno = 0;
    const double magnitude = std::strtod(text.c_str(), nullptr);
    if (errno == ERANGE && (std::isinf(magnitude) || (magnitude == 0 && nonZero))) {
        return {p, std::errc::result_out_of_range};
    }
    value = negative ? -magnitude : magnitude;
    return {p, std::errc()};
}

}  // namespace detail

#if defined(__cpp_lib_to_chars)

std::to_chars_result ToChars(char* first, char* last, double value) {
    return std::to_chars(first, last, value);
}

std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format,
                             int precision) {
    return std::to_chars(first, last, value, format, precision);
}

std::from_chars_result FromChars(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value);
}

#else

std::to_chars_result ToChars(char* first, char* last, double value) {
    return detail::PrintfToChars(first, last, value);
}

std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format,
                             int precision) {
    return detail::PrintfToChars(first, last, value, format, precision);
}

std::from_chars_result FromChars(const char* first, const char* last, double& value) {
    return detail::StrtodFromChars(first, last, value);
}

#endif

}  // namespace veltrane
