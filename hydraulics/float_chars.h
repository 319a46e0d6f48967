// SPDX-License-Identifier: GPL-3.0-or-later
// std::to_chars and std::from_chars for double, on every standard library the
// core is built with. Where the library lacks them (the libc++ of Debian 12's
// emscripten) the same texts come from the C library's exact printf and
// strtod, so that every build prints every number alike.
#pragma once

#include <charconv>

namespace veltrane {

// The shortest text that reads back to value, fixed or scientific, whichever
// is shorter (fixed on a tie): 0.25 → "0.25", 1e-05 → "1e-05".
std::to_chars_result ToChars(char* first, char* last, double value);

// Fixed or scientific with precision digits after the point, rounded on the
// exact binary value.
std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format,
                             int precision);

// Reads [-]digits[.digits][e[±]digits], "inf", "infinity" or "nan", any case,
// as std::from_chars does in its general format: no blanks, no '+', no hex.
std::from_chars_result FromChars(const char* first, const char* last, double& value);

namespace detail {

// The versions over printf and strtod, built everywhere so that the tests
// can hold them against the standard library's.
std::to_chars_result PrintfToChars(char* first, char* last, double value);
std::to_chars_result PrintfToChars(char* first, char* last, double value, std::chars_format format,
                                   int precision);
std::from_chars_result StrtodFromChars(const char* first, const char* last, double& value);

}  // namespace detail

}  // namespace veltrane
