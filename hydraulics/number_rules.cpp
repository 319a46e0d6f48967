// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/number_rules.h"
#include "hydraulics/float_chars.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace veltrane {

namespace {

// The nearest double to digits × 10^exponent (digits non-empty, no sign).
// from_chars reads the same under every locale; it leaves the value alone
// when the result is out of range, which here means beyond the double range
// (infinity) or below half the smallest subnormal (zero).
double ToDouble(const std::string& digits, long long exponent) {
    const std::string text = digits + "e" + std::to_string(exponent);
    double value = 0;
    const auto result = FromChars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const long long magnitude = exponent + static_cast<long long>(digits.size());
        return magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A text cursor that passes over blanks, tabs and line feeds.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}
    // The next character that counts, or '\0' at the end.
    char Peek() {
        while (pos_ < text_.size() && IsSkipped(text_[pos_])) {
            ++pos_;
        }
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void Next() { ++pos_; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

double ReadWholeNumber(Reader& in, int base) {
    std::uint64_t value = 0;  // the lowest 64 bits
    bool over16 = false;
    bool over32 = false;
    for (;;) {
        const int digit = HexDigit(in.Peek());
        if (digit < 0 || digit >= base) {
            break;
        }
        in.Next();
        if (value > (UINT64_MAX >> 4)) {
            over16 = over32 = true;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        over16 = over16 || value > 0xFFFFu;
        over32 = over32 || value > 0xFFFFFFFFu;
    }
    if (!over16) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    }
    if (!over32) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    return static_cast<double>(static_cast<std::int64_t>(value));
}

// Enough digits to round any double correctly (767 can matter); later
// digits only tell whether the value lies above the kept ones.
constexpr std::size_t kMaxSignificantDigits = 800;
// Beyond these decimal exponents every value of at most 801 significant
// digits is infinite or zero.
constexpr long long kExponentClamp = 100000;
// A written exponent saturates here. The digits of a text can shift the
// exponent by at most the text's length, far less than this, so a saturated
// exponent still lies beyond kExponentClamp once the shift is added.
constexpr long long kWrittenExponentLimit = 100'000'000'000'000'000;

}  // namespace

double ParseNumber(std::string_view text) {
    Reader in(text);
    if (in.Peek() == '&') {
        in.Next();
        const char kind = in.Peek();
        if (kind == 'H' || kind == 'h') {
            in.Next();
            return ReadWholeNumber(in, 16);
        }
        if (kind == 'O' || kind == 'o') {
            in.Next();
            return ReadWholeNumber(in, 8);
        }
        return 0.0;
    }
    bool negative = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
        negative = in.Peek() == '-';
        in.Next();
    }
    std::string significant;
    long long exponent = 0;  // decimal exponent of the last kept digit
    bool droppedNonZero = false;
    bool seenPoint = false;
    for (char c = in.Peek();; c = in.Peek()) {
        if (c >= '0' && c <= '9') {
            if (significant.empty() && c == '0') {
                exponent -= seenPoint ? 1 : 0;
            } else if (significant.size() < kMaxSignificantDigits) {
                significant.push_back(c);
                exponent -= seenPoint ? 1 : 0;
            } else {
                droppedNonZero = droppedNonZero || c != '0';
                exponent += seenPoint ? 0 : 1;
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        in.Next();
    }
    const char marker = in.Peek();
    if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
        in.Next();
        bool exponentNegative = false;
        if (in.Peek() == '+' || in.Peek() == '-') {
            exponentNegative = in.Peek() == '-';
            in.Next();
        }
        long long written = 0;
        for (char c = in.Peek(); c >= '0' && c <= '9'; c = in.Peek()) {
            written = written * 10 + (c - '0');
            if (written > kWrittenExponentLimit) {
                written = kWrittenExponentLimit;
            }
            in.Next();
        }
        exponent += exponentNegative ? -written : written;
    }
    if (significant.empty()) {
        return 0.0;
    }
    if (droppedNonZero) {
        significant.push_back('1');  // stands for the non-zero tail, below every kept digit
        exponent -= 1;
    }
    if (exponent > kExponentClamp) {
        exponent = kExponentClamp;
    } else if (exponent < -kExponentClamp) {
        exponent = -kExponentClamp;
    }
    const double magnitude = ToDouble(significant, exponent);
    return negative ? -magnitude : magnitude;
}

namespace detail {

double RoundHalfEvenByPrinting(double value, int decimals) {
    if (!std::isfinite(value) || value == 0) {
        return value == 0 ? 0.0 : value;
    }
    // to_chars with a precision prints the exact binary value rounded half to
    // even, as printf does. 309 integer digits, a point and 20 decimals fit.
    char buffer[400];
    const auto printed = ToChars(buffer, buffer + sizeof buffer, std::fabs(value),
                                 std::chars_format::fixed, decimals);
    double magnitude = 0;
    FromChars(buffer, printed.ptr, magnitude);
    if (magnitude == 0) {
        return 0.0;
    }
    return value < 0 ? -magnitude : magnitude;
}

}  // namespace detail

#if defined(__SIZEOF_INT128__)
// GCC's and Clang's 128-bit integers (wasm32 too); elsewhere the rule alone.
__extension__ typedef unsigned __int128 Wide;
#endif

double RoundHalfEven(double value, int decimals) {
#if defined(__SIZEOF_INT128__)
    // The same in integers, where they hold it: value is m·2^e exactly (m
    // below 2^53), so value·10^d is the integer m·10^d over 2^-e, rounded
    // here half to even; a result q up to 2^53 is exact, and q / 10^d (both
    // exact, 10^d up to 10^22) is the double nearest the decimal, as reading
    // the printed decimal gives. Printing is slow where long double is
    // emulated (WebAssembly), and the sheets round thousands of numbers.
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                         1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                         1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20};
    if (std::isfinite(value) && value != 0 && decimals >= 0 && decimals <= 20 &&
        std::fabs(value) >= std::numeric_limits<double>::min()) {
        int exponent = 0;
        const double fraction = std::frexp(std::fabs(value), &exponent);  // [0.5, 1)
        const auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
        const int shift = 53 - exponent;  // value = m / 2^shift
        if (shift <= 0) {
            return value;  // a whole number: nothing to round
        }
        Wide scaled = m;
        for (int i = 0; i < decimals; ++i) {
            scaled *= 10;
        }
        if (shift < 128) {  // scaled is below 2^53·10^20 < 2^120
            const Wide one = 1;
            Wide q = scaled >> shift;
            const Wide rest = scaled - (q << shift);
            const Wide half = one << (shift - 1);
            if (rest > half || (rest == half && (q & 1) != 0)) {
                ++q;
            }
            if (q <= (one << 53)) {
                if (q == 0) {
                    return 0.0;
                }
                const double magnitude = static_cast<double>(q) / kPowers[decimals];
                return value < 0 ? -magnitude : magnitude;
            }
        } else {
            return 0.0;  // below 2^-75: under half of 10^-20
        }
    }
#endif
    return detail::RoundHalfEvenByPrinting(value, decimals);
}

std::string FormatResultNumber(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? " Infinity" : "-Infinity";
    }
    std::string out(value < 0 ? "-" : " ");
    if (value == 0) {
        return " 0";
    }
    // 15 significant digits, rounded half to even on the exact value:
    // "d.dddddddddddddde±xx".
    char buffer[32];
    const auto printed = ToChars(buffer, buffer + sizeof buffer, std::fabs(value),
                                 std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(printed.ptr - buffer));
    const std::size_t e = text.find('e');
    std::string digits;
    digits += text[0];
    digits.append(text.substr(2, e - 2));
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    long long exponent = 0;
    const std::string_view written = text.substr(e + 2);
    std::from_chars(written.data(), written.data() + written.size(), exponent);
    if (text[e + 1] == '-') {
        exponent = -exponent;
    }
    const long long pointPos = exponent + 1;  // digits before the decimal point
    const auto size = static_cast<long long>(digits.size());
    if (pointPos > 15) {
        out += digits[0];
        if (size > 1) {
            out += '.';
            out.append(digits, 1, std::string::npos);
        }
        out += "E+";
        out.append(written);
    } else if (pointPos <= 0) {
        out += '.';
        out.append(static_cast<std::size_t>(-pointPos), '0');
        out += digits;
    } else if (pointPos >= size) {
        out += digits;
        out.append(static_cast<std::size_t>(pointPos - size), '0');
    } else {
        const auto point = static_cast<std::size_t>(pointPos);
        out.append(digits, 0, point);
        out += '.';
        out.append(digits, point, std::string::npos);
    }
    return out;
}

std::string WithoutLeadingBlank(std::string_view text) {
    return std::string(!text.empty() && text[0] == ' ' ? text.substr(1) : text);
}

std::string PrintedNumber(double value, int decimals) {
    return WithoutLeadingBlank(FormatResultNumber(RoundHalfEven(value, decimals)));
}

}  // namespace veltrane
