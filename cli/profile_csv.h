// SPDX-License-Identifier: GPL-3.0-or-later
// The station table of a canal's water surface as CSV, one row per station
// of each flow: veltrane-calc's (English headings, as scripts read it) and
// the program's export (Chinese headings).
#pragma once

#include <string>

#include "canal/canal_model.h"
#include "cli/csv.h"
#include "views/language.h"

namespace veltrane::cli {

// Lengths, levels and velocities to 0.0001; chainages in metres.
std::string ProfileCsv(const canal::CanalRequest& request, const canal::CanalProfile& profile,
                       views::Language language, CsvFor reader);

// v to four places, zeros kept ("0.5000"), never "-0.0000".
std::string FourPlaces(double v);

}  // namespace veltrane::cli
