// SPDX-License-Identifier: GPL-3.0-or-later
// A canal profile file (veltrane-calc profile, and the page's 水面线) as the
// reaches of a canal: one row per reach, upstream first, under a header that
// names the columns in English or Chinese (see views::kProfileColumns).
#pragma once

#include <string_view>
#include <vector>

#include "canal/canal_model.h"
#include "views/profile_words.h"

namespace veltrane::cli {

struct ProfileReading {
    std::vector<canal::Reach> reaches;            // the good rows, in order
    std::vector<views::ProfileProblem> problems;  // every bad row and column, in order
    bool ok() const { return problems.empty(); }
};

// text is the file decoded (see DecodeInputText). Numbers are plain
// decimals ("-12.5", "0.017"), blanks around them ignored; an empty cell in
// an optional column means "not given". A bed given higher than the end of
// the reach above is refused, as is an empty canal.
ProfileReading ReadProfileRows(std::string_view text);

// Whether the file's header names a length column: a canal file for a
// water surface as well as for each reach's sheet.
bool NamesProfileColumns(std::string_view text);

}  // namespace veltrane::cli
