// SPDX-License-Identifier: GPL-3.0-or-later
// The words of the user's section catalogue: its file's columns, and what is
// wrong with a row, in Chinese for the program and the page and in English
// for veltrane-calc.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "hydraulics/user_sections.h"
#include "views/language.h"

namespace veltrane::views {

enum class SectionColumn { Name, Radius, Alpha, Depth, Thickness, Top };

struct SectionColumnInfo {
    std::string_view key;      // the file's heading: "name", "r", …
    std::string_view chinese;  // the table's heading, with its unit
    std::string_view english;  // as the command line names the value
};

// clang-format off
inline constexpr std::array<SectionColumnInfo, 6> kSectionColumns = {{
    {.key = "name",      .chinese = "名称",           .english = "name"},
    {.key = "r",         .chinese = "底弧半径 r (m)",  .english = "r"},
    {.key = "alpha",     .chinese = "直墙倾角 α (°)",  .english = "alpha"},
    {.key = "H",         .chinese = "渠深 H (m)",      .english = "H"},
    {.key = "thickness", .chinese = "板厚 δ (cm)",     .english = "thickness"},
    {.key = "top",       .chinese = "渠口宽 B (cm)",   .english = "top"},
}};
// clang-format on

// One thing wrong with a catalogue row, or with the file around its rows.
struct SectionProblem {
    enum class Kind {
        Header,      // the first line is not the six headings
        Cells,       // a row without four to six cells
        Unclosed,    // a quoted cell not closed
        TooLong,     // a line over the record limit
        Number,      // a number cell that is not a plain decimal
        Missing,     // r, alpha or H left empty
        Definition,  // the row's numbers or name (see DefinitionProblem)
        Key,         // a one-off section's unknown or repeated key
    };
    Kind kind = Kind::Definition;
    std::size_t line = 0;  // the file's line, or the table's row, from 1; 0 for a one-off
    std::string name{};    // the row's name as written, "" where it has none
    SectionColumn column = SectionColumn::Name;
    std::string cell{};     // the cell or key as written (Number, Key)
    std::size_t cells = 0;  // how many cells the row has (Cells)
    DefinitionProblem definition = DefinitionProblem::NameEmpty;
    std::size_t earlier = 0;  // NameRepeated: the line or row the name is first on
};

// The words of the program's and the page's catalogue form.
struct SectionFormWords {
    std::string_view title = "自定义断面";
    std::string_view intro =
        "每行一个断面：底弧半径 r 与渠深 H 以米计，直墙倾角 α 以度计（自铅垂线量起）；"
        "板厚 δ 与渠口宽 B 以厘米计，可不填，B 不填时按 r、α、H 算得。"
        "名称不得与标准断面重名。";
    std::string_view table = "断面表";
    std::string_view add = "添加", remove = "删除";
    std::string_view importCsv = "导入CSV…", exportCsv = "导出CSV…";
    std::string_view check = "检查";
    std::string_view none = "未定义自定义断面：选型、选型表与水面线只用五种标准断面。";
    // Before the count, and after it: "共 3 个自定义断面，选型……"
    std::string_view countBefore = "共 ";
    std::string_view countAfter =
        " 个自定义断面：选型时与五种标准断面一同按渠深处过水面积由小到大列出，"
        "其名称可填入断面列。";
    std::string_view problemsLead = "自定义断面表有误：";
    std::string_view units = "渠深、渠口宽、板厚与半径以厘米计，倾角以度计。";
    std::string_view computed = "（算得）";  // after a top width worked out from r, α and H
    std::string_view file = "自定义断面.csv";
};

inline constexpr SectionFormWords kSectionForm{};

// "line 3 (U50): r must be above 0 and at most 100 m" /
// "第 3 行（U50）：底弧半径 r 须大于 0 且不大于 100 m。" The name is cut to
// kMaxSectionNameBytes at a whole character.
std::string SectionProblemText(const SectionProblem& problem, Language language);

// What a definition problem says, without the line: "r must be above 0 and at
// most 100 m".
std::string DefinitionProblemText(DefinitionProblem problem, Language language);

}  // namespace veltrane::views
