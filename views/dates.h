// SPDX-License-Identifier: GPL-3.0-or-later
// How a sheet is dated: "2026年12月8日", the way a date is written by hand.
#pragma once

#include <string>

namespace veltrane::views {

// year as written (2026), month 1 to 12, day 1 to 31.
std::string SheetDate(int year, int month, int day);

// Today in the local time zone, or "" where the system cannot tell.
std::string Today();

}  // namespace veltrane::views
