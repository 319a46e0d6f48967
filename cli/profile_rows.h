// SPDX-License-Identifier: GPL-3.0-or-later
// A canal profile file (veltrane-calc profile, and the page's 水面线) as the
// reaches of a canal: one row per reach, upstream first, under a header that
// names the columns in English or Chinese (see views::kProfileColumns).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "canal/canal_model.h"
#include "views/profile_words.h"

namespace veltrane::cli {

// A row's cells as the file gives them, blanks around them removed, in the
// order of views::kProfileColumns ("" for a column the file has not).
using ProfileCells = std::array<std::string, views::kProfileColumns.size()>;

struct ProfileReading {
    std::vector<canal::Reach> reaches;            // the good rows, in order
    std::vector<ProfileCells> cells;              // the good rows' texts, as reaches
    std::vector<views::ProfileProblem> problems;  // every bad row and column, in order
    bool ok() const { return problems.empty(); }
};

// text is the file decoded (see DecodeInputText). Numbers are plain
// decimals ("-12.5", "0.017"), blanks around them ignored; an empty cell in
// an optional column means "not given". A bed given higher than the end of
// the reach above is refused, as is an empty canal.
ProfileReading ReadProfileRows(std::string_view text, const SectionSet& sections = SectionSet());

// A reach table's rows (the program's dialog, the page's panel) as a canal
// file: a header of the English names, then a row each, quoted where a cell
// needs it.
std::string WriteProfileRows(const std::vector<ProfileCells>& rows);

// A reach table's rows read as the file WriteProfileRows makes of them, each
// problem's line being the table's row, from 1.
ProfileReading ReadProfileTable(const std::vector<ProfileCells>& rows,
                                const SectionSet& sections = SectionSet());

// A plain decimal, signed: "-12.5", "0.017"; nothing else, no blanks ("1e3"
// is refused too, as no engineer writes a level so).
std::optional<double> PlainNumber(std::string_view text);

// Whether the file's header names a length column: a canal file for a
// water surface as well as for each reach's sheet.
bool NamesProfileColumns(std::string_view text);

}  // namespace veltrane::cli
