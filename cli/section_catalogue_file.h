// SPDX-License-Identifier: GPL-3.0-or-later
// The user's section catalogue: a CSV file of name,r,alpha,H,thickness,top
// (r and H in m, alpha in degrees, thickness and top in cm, the last two
// optional), the same rows as a table typed on the page or in the program,
// and the one-off section "U:r=0.45,alpha=8,H=0.6" of the command line.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "hydraulics/user_sections.h"
#include "views/section_words.h"

namespace veltrane::cli {

using SectionCells = std::array<std::string, views::kSectionColumns.size()>;

struct CatalogueReading {
    SectionSet sections;                          // the standard five and every good row
    std::vector<views::SectionProblem> problems;  // in the file's order
};

// The file: its first line names the columns (in this order, any case), and
// every other line that is not blank is a section. Each bad row is named by
// its line and its name; the good rows are kept all the same.
CatalogueReading ReadSectionCatalogue(std::string_view text);

// Rows as typed, each problem's line being the table's row from 1.
CatalogueReading ReadSectionTable(const std::vector<SectionCells>& rows);

// The file of rows as typed, header first, lines ending in CR LF.
std::string WriteSectionCatalogue(const std::vector<SectionCells>& rows);

// The rows of a catalogue file as typed, for a table: four or five cells
// are padded; problems as ReadSectionCatalogue says them.
struct CatalogueCells {
    std::vector<SectionCells> rows;
    std::vector<std::size_t> lines;  // each row's line in the file
    std::vector<views::SectionProblem> problems;
};
CatalogueCells ReadSectionCells(std::string_view text);

// Whether a SIZE operand is a one-off section: it starts with "U:" (any case).
bool IsSectionOperand(std::string_view text);

// "U:r=0.45,alpha=8,H=0.6", with thickness=, top= and name= where wanted.
// Without a name the section is named "U(r=0.45,alpha=8,H=0.6)", after what
// was typed. Either the definition or its problems.
struct OperandReading {
    SectionDefinition definition;
    std::vector<views::SectionProblem> problems;
};
OperandReading ReadSectionOperand(std::string_view text);

}  // namespace veltrane::cli
