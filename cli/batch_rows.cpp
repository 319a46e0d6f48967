// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/batch_rows.h"

#include <array>

#include "cli/command_line.h"
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

int ReadBatchRows(std::istream& in, std::string_view name,
                  std::span<const std::string_view> optionalColumns, std::ostream& err,
                  const std::function<bool(const BatchRow&)>& onRow) {
    CsvReader reader(in);
    std::vector<std::string> fields;
    std::size_t count = 0;
    CsvReader::Problem problem = CsvReader::Problem::None;
    const auto cannotRead = [&] {
        err << "veltrane-calc: cannot read " << name << ": " << reader.error() << '\n';
        return kExitUsage;
    };
    if (!reader.Next(fields, count, problem)) {
        if (reader.failed()) {
            return cannotRead();
        }
        err << "veltrane-calc: the batch file is empty; its first row must name the columns "
               "size,discharge,slope,roughness,factor\n";
        return kExitUsage;
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
                    err << "veltrane-calc: the batch header names the column '" << column
                        << "' twice\n";
                    return kExitUsage;
                }
                position[c] = i;
            }
        }
    }
    for (std::size_t c = 0; c < kRequired.size(); ++c) {
        if (position[c] == kAbsent) {
            err << "veltrane-calc: the batch header has no column '" << kRequired[c] << "'\n";
            return kExitUsage;
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
        row.problem.clear();
        const std::string line = "line " + std::to_string(row.line) + ": ";
        row.size = ParseSectionName(Trimmed(row.values[kSize]));
        if (problem == CsvReader::Problem::Unclosed) {
            row.problem = line + "a quoted field is not closed";
        } else if (problem == CsvReader::Problem::TooLong) {
            row.problem =
                line + "longer than " + std::to_string(CsvReader::kRecordLimit) + " bytes";
        } else if (count != width) {
            row.problem =
                line + std::to_string(count) + " fields, the header has " + std::to_string(width);
        } else if (!row.size) {
            row.problem = line + "unknown size '" + std::string(row.values[kSize]) + "'";
        }
        if (!row.problem.empty()) {
            row.size.reset();
        }
        if (!onRow(row)) {
            return kExitReport;
        }
    }
    if (reader.failed()) {
        return cannotRead();
    }
    return kExitReport;
}

}  // namespace veltrane::cli
