// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/batch_rows.h"

#include <array>

#include "cli/csv.h"

namespace veltrane::cli {

namespace {

constexpr std::array<std::string_view, kBatchColumnCount> kRequired = {"size", "discharge", "slope",
                                                                       "roughness", "factor"};

std::string Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t");
    std::string out(s.substr(first, last - first + 1));
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

}  // namespace

std::optional<views::FileProblem> ReadBatchRows(std::string_view text,
                                                std::span<const std::string_view> optionalColumns,
                                                const std::function<bool(const BatchRow&)>& onRow,
                                                const SectionSet& sections) {
    using views::FileProblem;
    using views::RowProblem;
    CsvReader reader(text, CsvReader::kRecordLimit, CsvReader::SeparatorOf(text));
    std::vector<std::string> fields;
    std::size_t count = 0;
    CsvReader::Problem problem = CsvReader::Problem::None;
    if (!reader.Next(fields, count, problem)) {
        return FileProblem{.kind = FileProblem::Kind::Empty};
    }
    std::vector<std::string_view> wanted(kRequired.begin(), kRequired.end());
    wanted.insert(wanted.end(), optionalColumns.begin(), optionalColumns.end());
    constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);
    std::vector<std::size_t> position(wanted.size(), kAbsent);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string column = Trimmed(fields[i]);
        for (std::size_t c = 0; c < wanted.size(); ++c) {
            if (column == wanted[c]) {
                if (position[c] != kAbsent) {
                    return FileProblem{.kind = FileProblem::Kind::DuplicateColumn,
                                       .column = column};
                }
                position[c] = i;
            }
        }
    }
    for (std::size_t c = 0; c < kRequired.size(); ++c) {
        if (position[c] == kAbsent) {
            return FileProblem{.kind = FileProblem::Kind::MissingColumn,
                               .column = std::string(kRequired[c])};
        }
    }
    const std::size_t width = count;

    BatchRow row;
    row.values.resize(wanted.size());
    while (reader.Next(fields, count, problem)) {
        if (count == 1 && fields[0].empty() && problem == CsvReader::Problem::None) {
            continue;  // a blank line holds no row
        }
        for (std::size_t c = 0; c < wanted.size(); ++c) {
            row.values[c] = position[c] < count ? std::string_view(fields[position[c]]) : "";
        }
        row.line = reader.line();
        row.problem = {.line = row.line};
        row.section = sections.Find(row.values[kSize]);
        if (problem == CsvReader::Problem::Unclosed) {
            row.problem.kind = RowProblem::Kind::UnclosedQuote;
        } else if (problem == CsvReader::Problem::TooLong) {
            row.problem.kind = RowProblem::Kind::TooLong;
            row.problem.width = CsvReader::kRecordLimit;
        } else if (count != width) {
            row.problem.kind = RowProblem::Kind::FieldCount;
            row.problem.count = count;
            row.problem.width = width;
        } else if (!row.section) {
            row.problem.kind = RowProblem::Kind::UnknownSize;
            row.problem.catalogue = sections.userCount() > 0;
            row.problem.size = std::string(row.values[kSize]);
        }
        if (row.problem) {
            row.section.reset();
        }
        if (!onRow(row)) {
            break;
        }
    }
    return std::nullopt;
}

}  // namespace veltrane::cli
