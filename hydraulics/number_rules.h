// SPDX-License-Identifier: GPL-3.0-or-later
// How input texts become numbers and results become report text.
#pragma once

#include <string>
#include <string_view>

namespace veltrane {

// Reads the number at the start of text, the way the input boxes are read:
// - blanks, tabs and line feeds are skipped wherever they stand ("2 50" is 250);
// - an optional sign, digits with at most one '.', and an optional exponent
//   introduced by E or D (either case) with its own optional sign;
// - reading stops at the first character that cannot continue the number;
//   a text with no number at its start reads 0 ("abc", "", "--1");
// - "&H" and "&O" start hexadecimal and octal whole numbers. Up to &HFFFF
//   (&O177777) they read as 16-bit signed, up to &HFFFFFFFF as 32-bit signed,
//   and wider ones as the 64-bit signed value of their lowest 64 bits.
// A decimal beyond the double range reads as ±infinity, one below it as a
// subnormal or 0; every decimal is rounded correctly, however long the text.
// Runs in time linear in the length of text.
double ParseNumber(std::string_view text);

// value rounded to `decimals` places (0 … 20), ties to even on the exact
// binary value: 0.03125 is a tie, while 0.03135 lies just above its double and
// is not. Non-finite values come back unchanged.
double RoundHalfEven(double value, int decimals);

namespace detail {
// The same by printing the exact value and reading it back: the rule itself,
// which RoundHalfEven keeps to with integers where they suffice.
double RoundHalfEvenByPrinting(double value, int decimals);
}  // namespace detail

// Report form of a number: a blank before a value ≥ 0 (a minus sign before a
// negative one), at most 15 significant digits, no zero before the point below
// 1, no trailing zeros and no bare point: 0.516 → " .516", 1 → " 1".
// From 1e15 on the exponent form is used: " 1E+15", " 4.00000000000001E+199".
// Non-finite values have no report form; they give "NaN", " Infinity" or
// "-Infinity" so that a caller's bug is visible rather than silent.
std::string FormatResultNumber(double value);

// A report number as tables and CSV show it: FormatResultNumber of the value
// rounded to `decimals`, without the blank before a value ≥ 0 (".516").
std::string PrintedNumber(double value, int decimals);

// text without the blank that FormatResultNumber puts before a value ≥ 0.
std::string WithoutLeadingBlank(std::string_view text);

}  // namespace veltrane
