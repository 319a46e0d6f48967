// SPDX-License-Identifier: GPL-3.0-or-later
// What can be wrong with a batch or canal CSV file: the file as a whole (no
// header, a missing or doubled column) or one of its rows. The command line
// says it in English; the page and the canal sheet in Chinese.
#pragma once

#include <cstddef>
#include <string>

#include "views/language.h"

namespace veltrane::views {

struct FileProblem {
    enum class Kind { Empty, DuplicateColumn, MissingColumn };
    Kind kind = Kind::Empty;
    std::string column{};  // DuplicateColumn, MissingColumn
};

// English without the "veltrane-calc: " lead.
std::string FileProblemText(const FileProblem& problem, Language language);

struct RowProblem {
    enum class Kind { None, UnclosedQuote, TooLong, FieldCount, UnknownSize };
    Kind kind = Kind::None;
    std::size_t line = 0;    // where the record starts, 1-based
    std::size_t count = 0;   // FieldCount: fields in the row
    std::size_t width = 0;   // FieldCount: fields in the header; TooLong: the limit, bytes
    std::string size{};      // UnknownSize: the text of the size field
    bool catalogue = false;  // UnknownSize: the user's sections were looked in too

    explicit operator bool() const { return kind != Kind::None; }
};

// "line 3: unknown size 'U70'" / "第 3 行：无此规格“U70”".
std::string RowProblemText(const RowProblem& problem, Language language);

// The same without the line: "无此规格“U70”", for a table that shows the
// line in a column of its own.
std::string RowProblemReason(const RowProblem& problem, Language language);

}  // namespace veltrane::views
