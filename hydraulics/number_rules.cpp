#include "number_rules.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace veltrane {

namespace {

// A non-negative decimal: value = digits × 10^(pointPos − digits.size()).
// digits has no leading or trailing zeros; zero has no digits.
struct Decimal {
    std::string digits;
    long long pointPos = 0;  // how many digits stand before the decimal point
};

void StripTrailingZeros(Decimal& d) {
    while (!d.digits.empty() && d.digits.back() == '0') {
        d.digits.pop_back();
    }
    if (d.digits.empty()) {
        d.pointPos = 0;
    }
}

// Multiplies a little-endian base-1e9 number by factor (< 2^32).
void MultiplyLimbs(std::vector<std::uint32_t>& limbs, std::uint64_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs) {
        const std::uint64_t product = limb * factor + carry;
        limb = static_cast<std::uint32_t>(product % 1000000000u);
        carry = product / 1000000000u;
    }
    while (carry != 0) {
        limbs.push_back(static_cast<std::uint32_t>(carry % 1000000000u));
        carry /= 1000000000u;
    }
}

// The exact decimal value of a finite double ≥ 0. Every double is m · 2^e, and
// for e < 0 that is m · 5^−e · 10^e, so the digits are those of an integer.
Decimal ExactDecimal(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = -1074;
    if (biased != 0) {
        mantissa |= std::uint64_t{1} << 52;
        exponent = biased - 1075;
    }
    Decimal d;
    if (mantissa == 0) {
        return d;
    }
    while ((mantissa & 1) == 0 && exponent < 0) {
        mantissa >>= 1;
        ++exponent;
    }
    std::vector<std::uint32_t> limbs;
    while (mantissa != 0) {
        limbs.push_back(static_cast<std::uint32_t>(mantissa % 1000000000u));
        mantissa /= 1000000000u;
    }
    if (exponent > 0) {
        for (int left = exponent; left > 0; left -= 29) {
            MultiplyLimbs(limbs, std::uint64_t{1} << (left < 29 ? left : 29));
        }
    } else {
        static constexpr std::uint64_t kPow5[14] = {
            1,     5,      25,      125,     625,      3125,      15625,
            78125, 390625, 1953125, 9765625, 48828125, 244140625, 1220703125};
        for (int left = -exponent; left > 0; left -= 13) {
            MultiplyLimbs(limbs, kPow5[left < 13 ? left : 13]);
        }
    }
    d.digits = std::to_string(limbs.back());
    for (std::size_t i = limbs.size() - 1; i-- > 0;) {
        const std::string part = std::to_string(limbs[i]);
        d.digits.append(9 - part.size(), '0');
        d.digits += part;
    }
    d.pointPos = static_cast<long long>(d.digits.size()) + (exponent < 0 ? exponent : 0);
    StripTrailingZeros(d);
    return d;
}

// Keeps the first `keep` digits (keep may be ≤ 0 or past the end), rounding
// the exact remainder half to even.
void RoundDigits(Decimal& d, long long keep) {
    const long long size = static_cast<long long>(d.digits.size());
    if (keep >= size) {
        return;
    }
    if (keep < 0) {  // the first digit lies below the rounding digit: less than half
        d = Decimal{};
        return;
    }
    const auto at = static_cast<std::size_t>(keep);
    const char first = d.digits[at];
    const bool moreAfter = size > keep + 1;  // digits end in a non-zero digit
    const bool lastOdd = at > 0 && ((d.digits[at - 1] - '0') % 2) == 1;
    const bool up = first > '5' || (first == '5' && (moreAfter || lastOdd));
    d.digits.resize(at);
    if (up) {
        std::size_t i = at;
        while (i > 0 && d.digits[i - 1] == '9') {
            d.digits[--i] = '0';
        }
        if (i == 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        } else {
            ++d.digits[i - 1];
        }
    }
    StripTrailingZeros(d);
}

// The nearest double to a decimal. The text holds digits and an exponent only,
// so strtod reads it the same under every locale.
double ToDouble(const std::string& digits, long long exponent) {
    if (digits.empty()) {
        return 0.0;
    }
    const std::string text = digits + "e" + std::to_string(exponent);
    return std::strtod(text.c_str(), nullptr);
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
// Beyond these decimal exponents every value is infinite or zero.
constexpr long long kExponentClamp = 100000;

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
            if (written > kExponentClamp) {
                written = kExponentClamp;
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

double RoundHalfEven(double value, int decimals) {
    if (!std::isfinite(value) || value == 0) {
        return value == 0 ? 0.0 : value;
    }
    Decimal d = ExactDecimal(std::fabs(value));
    RoundDigits(d, d.pointPos + decimals);
    const double magnitude =
        ToDouble(d.digits, d.pointPos - static_cast<long long>(d.digits.size()));
    if (magnitude == 0) {
        return 0.0;
    }
    return value < 0 ? -magnitude : magnitude;
}

std::string FormatResultNumber(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? " Infinity" : "-Infinity";
    }
    std::string out(value < 0 ? "-" : " ");
    Decimal d = ExactDecimal(std::fabs(value));
    RoundDigits(d, 15);
    if (d.digits.empty()) {
        return " 0";
    }
    const long long size = static_cast<long long>(d.digits.size());
    if (d.pointPos > 15) {
        const long long exponent = d.pointPos - 1;
        out += d.digits[0];
        if (size > 1) {
            out += '.';
            out.append(d.digits, 1, std::string::npos);
        }
        out += exponent < 0 ? "E-" : "E+";
        const std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
        if (e.size() < 2) {
            out += '0';
        }
        out += e;
    } else if (d.pointPos <= 0) {
        out += '.';
        out.append(static_cast<std::size_t>(-d.pointPos), '0');
        out += d.digits;
    } else if (d.pointPos >= size) {
        out += d.digits;
        out.append(static_cast<std::size_t>(d.pointPos - size), '0');
    } else {
        const auto point = static_cast<std::size_t>(d.pointPos);
        out.append(d.digits, 0, point);
        out += '.';
        out.append(d.digits, point, std::string::npos);
    }
    return out;
}

}  // namespace veltrane
