// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/json_writer.h"
#include "hydraulics/float_chars.h"

#include <charconv>
#include <cmath>
#include <string>

namespace veltrane::cli {

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    out += "\\u00";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0xf];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasMembers_.empty()) {
        if (hasMembers_.back()) {
            out_ += ',';
        }
        hasMembers_.back() = true;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    BeforeValue();
    out_ += '{';
    hasMembers_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    out_ += '}';
    hasMembers_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    BeforeValue();
    out_ += '[';
    hasMembers_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    out_ += ']';
    hasMembers_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
    BeforeValue();
    AppendJsonString(out_, name);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    BeforeValue();
    AppendJsonString(out_, text);
    return *this;
}

namespace {

// Writes the number text [-]D[.DDD][e±XX] without its exponent: the point
// moved, zeros added where it moves past the digits.
void AppendPlainDecimal(std::string& out, std::string_view number) {
    const std::size_t e = number.find('e');
    if (e == number.npos) {
        out += number;
        return;
    }
    std::string_view mantissa = number.substr(0, e);
    const int exponent = std::stoi(std::string(number.substr(e + 1)));
    if (mantissa.starts_with('-')) {
        out += '-';
        mantissa.remove_prefix(1);
    }
    std::string digits;
    int point = static_cast<int>(mantissa.size());  // digits before the point
    for (std::size_t k = 0; k < mantissa.size(); ++k) {
        if (mantissa[k] == '.') {
            point = static_cast<int>(k);
        } else {
            digits += mantissa[k];
        }
    }
    point += exponent;
    const int count = static_cast<int>(digits.size());
    if (point <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-point), '0');
        out += digits;
    } else if (point >= count) {
        out += digits;
        out.append(static_cast<std::size_t>(point - count), '0');
    } else {
        out += std::string_view(digits).substr(0, static_cast<std::size_t>(point));
        out += '.';
        out += std::string_view(digits).substr(static_cast<std::size_t>(point));
    }
}

}  // namespace

JsonWriter& JsonWriter::Number(double value) {
    if (!std::isfinite(value)) {
        return Null();
    }
    BeforeValue();
    char buffer[32];
    const auto result = ToChars(buffer, buffer + sizeof buffer, value);
    const std::string_view shortest(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const double magnitude = std::fabs(value);
    // Plain decimals where a person reads them best, as JavaScript prints
    // numbers: 100000 and 0.000001, not 1e+05 and 1e-06; the exponent only
    // below 1e-7 and from 1e21 on. The same digits, so the same value.
    if (magnitude >= 1e-7 && magnitude < 1e21) {
        AppendPlainDecimal(out_, shortest);
    } else {
        out_ += shortest;
    }
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    BeforeValue();
    out_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Raw(std::string_view json) {
    BeforeValue();
    out_ += json;
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
    return *this;
}

}  // namespace veltrane::cli
