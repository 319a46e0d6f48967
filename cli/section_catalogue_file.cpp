// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/section_catalogue_file.h"

#include <algorithm>
#include <optional>

#include "cli/csv.h"
#include "cli/profile_rows.h"
#include "hydraulics/float_chars.h"

namespace veltrane::cli {

namespace {

using views::SectionColumn;
using views::SectionProblem;

constexpr std::size_t kFewestCells = 4;  // name, r, alpha, H

std::string_view Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool SameKey(std::string_view text, std::string_view key) {
    if (text.size() != key.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(text[i]) != lower(key[i])) {
            return false;
        }
    }
    return true;
}

// Each name read so far, in ASCII lower case, with its line: a repeat is
// named against the first, whether that row was good or not.
using SeenNames = std::vector<std::pair<std::string, std::size_t>>;

std::string Folded(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

// Adds one row to the set, or says what is wrong with it.
void ReadRow(const SectionCells& cells, std::size_t line, CatalogueReading& reading,
             SeenNames& seen) {
    const std::string name(Trimmed(cells[0]));
    const std::size_t before = reading.problems.size();
    const auto fail = [&](SectionProblem p) {
        p.line = line;
        p.name = name;
        reading.problems.push_back(std::move(p));
    };
    std::size_t earlier = 0;
    if (!name.empty()) {
        const std::string folded = Folded(name);
        for (const auto& [seenName, seenLine] : seen) {
            if (seenName == folded) {
                earlier = seenLine;
                break;
            }
        }
        if (earlier == 0) {
            seen.emplace_back(folded, line);
        } else {
            fail({.kind = SectionProblem::Kind::Definition,
                  .definition = DefinitionProblem::NameRepeated,
                  .earlier = earlier});
        }
    }
    const auto number = [&](SectionColumn column, bool required) -> std::optional<double> {
        const std::string_view text = Trimmed(cells[static_cast<std::size_t>(column)]);
        if (text.empty()) {
            if (required) {
                fail({.kind = SectionProblem::Kind::Missing, .column = column});
            }
            return std::nullopt;
        }
        const std::optional<double> value = PlainNumber(text);
        if (!value) {
            fail({.kind = SectionProblem::Kind::Number,
                  .column = column,
                  .cell = std::string(text)});
        }
        return value;
    };
    const auto r = number(SectionColumn::Radius, true);
    const auto alpha = number(SectionColumn::Alpha, true);
    const auto depth = number(SectionColumn::Depth, true);
    const auto thickness = number(SectionColumn::Thickness, false);
    const auto top = number(SectionColumn::Top, false);
    if (reading.problems.size() != before + (earlier != 0 ? 1 : 0)) {
        return;
    }
    const SectionDefinition definition{.name = name,
                                       .radius = *r,
                                       .alphaDeg = *alpha,
                                       .depth = *depth,
                                       .slabCm = thickness,
                                       .topCm = top};
    // A repeated name is never added, whatever else is right with its row.
    for (const DefinitionProblem problem :
         earlier != 0 ? CheckDefinition(definition) : reading.sections.Add(definition)) {
        fail({.kind = SectionProblem::Kind::Definition, .definition = problem});
    }
}

bool IsBlank(const std::vector<std::string>& fields, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (!Trimmed(fields[i]).empty()) {
            return false;
        }
    }
    return true;
}

}  // namespace

CatalogueCells ReadSectionCells(std::string_view text) {
    CatalogueCells out;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);  // a spreadsheet's byte order mark
    }
    CsvReader reader(text, CsvReader::kRecordLimit, CsvReader::SeparatorOf(text));
    std::vector<std::string> fields;
    std::size_t count = 0;
    CsvReader::Problem problem = CsvReader::Problem::None;
    bool header = true;
    while (reader.Next(fields, count, problem)) {
        const std::size_t line = reader.line();
        if (problem != CsvReader::Problem::None) {
            out.problems.push_back({.kind = problem == CsvReader::Problem::Unclosed
                                                ? SectionProblem::Kind::Unclosed
                                                : SectionProblem::Kind::TooLong,
                                    .line = line});
            header = false;
            continue;
        }
        if (header) {
            header = false;
            bool names = count >= kFewestCells && count <= views::kSectionColumns.size();
            for (std::size_t i = 0; names && i < count; ++i) {
                names = SameKey(Trimmed(fields[i]), views::kSectionColumns[i].key);
            }
            if (!names) {
                out.problems.push_back({.kind = SectionProblem::Kind::Header, .line = line});
            }
            continue;
        }
        if (IsBlank(fields, count)) {
            continue;
        }
        if (count < kFewestCells || count > views::kSectionColumns.size()) {
            out.problems.push_back({.kind = SectionProblem::Kind::Cells,
                                    .line = line,
                                    .name = std::string(Trimmed(fields[0])),
                                    .cells = count});
            continue;
        }
        SectionCells cells;
        for (std::size_t i = 0; i < count; ++i) {
            cells[i] = fields[i];
        }
        out.rows.push_back(std::move(cells));
        out.lines.push_back(line);
    }
    if (header) {
        out.problems.push_back({.kind = SectionProblem::Kind::Header, .line = 1});
    }
    return out;
}

CatalogueReading ReadSectionCatalogue(std::string_view text) {
    CatalogueCells cells = ReadSectionCells(text);
    CatalogueReading reading;
    reading.problems = std::move(cells.problems);
    SeenNames seen;
    for (std::size_t i = 0; i < cells.rows.size(); ++i) {
        ReadRow(cells.rows[i], cells.lines[i], reading, seen);
    }
    // The file's problems and the rows' in the order of their lines.
    std::stable_sort(
        reading.problems.begin(), reading.problems.end(),
        [](const SectionProblem& a, const SectionProblem& b) { return a.line < b.line; });
    return reading;
}

CatalogueReading ReadSectionTable(const std::vector<SectionCells>& rows) {
    CatalogueReading reading;
    SeenNames seen;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ReadRow(rows[i], i + 1, reading, seen);
    }
    return reading;
}

std::string WriteSectionCatalogue(const std::vector<SectionCells>& rows) {
    std::string out;
    for (std::size_t i = 0; i < views::kSectionColumns.size(); ++i) {
        out += (i == 0 ? "" : ",") + std::string(views::kSectionColumns[i].key);
    }
    out += "\r\n";
    for (const SectionCells& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) {
                out += ',';
            }
            AppendCsvField(out, row[i]);
        }
        out += "\r\n";
    }
    return out;
}

bool IsSectionOperand(std::string_view text) {
    const std::string_view t = Trimmed(text);
    return t.size() >= 2 && (t[0] == 'U' || t[0] == 'u') && t[1] == ':';
}

OperandReading ReadSectionOperand(std::string_view text) {
    OperandReading out;
    const std::string_view body = Trimmed(text).substr(2);
    SectionCells cells;
    std::array<bool, views::kSectionColumns.size()> seen{};
    std::size_t at = 0;
    while (at <= body.size()) {
        const std::size_t comma = std::min(body.find(',', at), body.size());
        const std::string_view pair = body.substr(at, comma - at);
        at = comma + 1;
        const std::size_t equals = pair.find('=');
        const std::string_view key = Trimmed(pair.substr(0, equals));
        std::size_t column = views::kSectionColumns.size();
        for (std::size_t i = 0; i < views::kSectionColumns.size(); ++i) {
            if (SameKey(key, views::kSectionColumns[i].key)) {
                column = i;
            }
        }
        if (equals == std::string_view::npos || column == views::kSectionColumns.size() ||
            seen[column]) {
            // The key alone, as typed; the whole piece where it has none.
            out.problems.push_back(
                {.kind = SectionProblem::Kind::Key, .cell = std::string(key.empty() ? pair : key)});
            continue;
        }
        seen[column] = true;
        cells[column] = std::string(pair.substr(equals + 1));
    }
    if (!out.problems.empty()) {
        return out;
    }
    if (!seen[0]) {
        // Named after its numbers as read, whatever the spelling: "U( r=.45,
        // ALPHA=8.0,h=0.6)" is U(r=0.45,alpha=8,H=0.6).
        const auto r = PlainNumber(Trimmed(cells[1]));
        const auto alpha = PlainNumber(Trimmed(cells[2]));
        const auto depth = PlainNumber(Trimmed(cells[3]));
        const auto shortest = [](double v) {
            char buffer[64];
            return std::string(buffer, ToChars(buffer, buffer + sizeof buffer, v).ptr);
        };
        cells[0] = r && alpha && depth ? "U(r=" + shortest(*r) + ",alpha=" + shortest(*alpha) +
                                             ",H=" + shortest(*depth) + ")"
                                       : "U(" + std::string(body) + ")";
    }
    CatalogueReading reading;
    SeenNames names;
    ReadRow(cells, 0, reading, names);
    out.problems = std::move(reading.problems);
    // The operand itself names the section in what is said about it.
    for (views::SectionProblem& p : out.problems) {
        p.name.clear();
    }
    if (out.problems.empty()) {
        out.definition = {.name = std::string(Trimmed(cells[0])),
                          .radius = *PlainNumber(Trimmed(cells[1])),
                          .alphaDeg = *PlainNumber(Trimmed(cells[2])),
                          .depth = *PlainNumber(Trimmed(cells[3])),
                          .slabCm = PlainNumber(Trimmed(cells[4])),
                          .topCm = PlainNumber(Trimmed(cells[5]))};
    }
    return out;
}

}  // namespace veltrane::cli
