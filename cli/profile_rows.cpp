// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/profile_rows.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "cli/csv.h"
#include "hydraulics/float_chars.h"

namespace veltrane::cli {

namespace {

using views::ProfileColumn;
using views::ProfileProblem;

std::string_view Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view header, const views::ProfileColumnInfo& column) {
    if (header == column.chinese) {
        return true;
    }
    if (header.size() != column.key.size()) {
        return false;
    }
    for (std::size_t i = 0; i < header.size(); ++i) {
        const char c = header[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != column.key[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<double> PlainNumber(std::string_view t) {
    if (t.empty() || t.find_first_of("eEnNiI") != std::string_view::npos) {
        return std::nullopt;
    }
    double value = 0;
    const char* last = t.data() + t.size();
    const auto parsed = FromChars(t.data(), last, value);
    if (parsed.ec != std::errc() || parsed.ptr != last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value + 0.0;  // never -0
}

bool NamesProfileColumns(std::string_view text) {
    CsvReader reader(text, CsvReader::kRecordLimit, CsvReader::SeparatorOf(text));
    std::vector<std::string> fields;
    std::size_t count = 0;
    CsvReader::Problem csv = CsvReader::Problem::None;
    if (!reader.Next(fields, count, csv)) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (SameName(Trimmed(fields[i]), views::InfoOf(ProfileColumn::Length))) {
            return true;
        }
    }
    return false;
}

ProfileReading ReadProfileRows(std::string_view text, const SectionSet& sections) {
    ProfileReading reading;
    CsvReader reader(text, CsvReader::kRecordLimit, CsvReader::SeparatorOf(text));
    std::vector<std::string> fields;
    std::size_t count = 0;
    CsvReader::Problem csv = CsvReader::Problem::None;
    if (!reader.Next(fields, count, csv)) {
        reading.problems.push_back({.kind = ProfileProblem::Kind::Empty});
        return reading;
    }
    constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);
    std::array<std::size_t, views::kProfileColumns.size()> position;
    position.fill(kAbsent);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view header = Trimmed(fields[i]);
        for (const views::ProfileColumnInfo& c : views::kProfileColumns) {
            if (SameName(header, c)) {
                auto& at = position[static_cast<std::size_t>(c.column)];
                if (at != kAbsent) {
                    reading.problems.push_back(
                        {.kind = ProfileProblem::Kind::DuplicateColumn, .column = c.column});
                    return reading;
                }
                at = i;
            }
        }
    }
    for (const views::ProfileColumnInfo& c : views::kProfileColumns) {
        if (c.required && position[static_cast<std::size_t>(c.column)] == kAbsent) {
            reading.problems.push_back(
                {.kind = ProfileProblem::Kind::MissingColumn, .column = c.column});
            return reading;
        }
    }
    const std::size_t width = count;

    double bedAbove = 0;  // the end of the last good reach's bed, m
    bool anyRow = false;
    while (reader.Next(fields, count, csv)) {
        if (count == 1 && fields[0].empty() && csv == CsvReader::Problem::None) {
            continue;  // a blank line holds no reach
        }
        anyRow = true;
        const std::size_t line = reader.line();
        if (csv != CsvReader::Problem::None || count != width) {
            ProfileProblem p{.line = line};
            if (csv == CsvReader::Problem::Unclosed) {
                p.kind = ProfileProblem::Kind::UnclosedQuote;
            } else if (csv == CsvReader::Problem::TooLong) {
                p.kind = ProfileProblem::Kind::TooLong;
                p.count = CsvReader::kRecordLimit;
            } else {
                p.kind = ProfileProblem::Kind::FieldCount;
                p.count = count;
                p.width = width;
            }
            reading.problems.push_back(p);
            continue;
        }
        const std::size_t before = reading.problems.size();
        const auto cell = [&](ProfileColumn c) {
            const std::size_t at = position[static_cast<std::size_t>(c)];
            return at == kAbsent ? std::string_view() : Trimmed(fields[at]);
        };
        const auto fail = [&](ProfileProblem::Kind kind, ProfileColumn c) {
            reading.problems.push_back(
                {.kind = kind, .line = line, .column = c, .text = std::string(cell(c))});
        };
        // A number: required ones must be there; positive ones above 0; all
        // within [low, high], the range a profile is computed in.
        const auto number = [&](ProfileColumn c, bool positive, double low,
                                double high) -> std::optional<double> {
            const std::string_view t = cell(c);
            if (t.empty()) {
                if (views::InfoOf(c).required) {
                    fail(ProfileProblem::Kind::Missing, c);
                }
                return std::nullopt;
            }
            const auto value = PlainNumber(t);
            if (!value) {
                fail(ProfileProblem::Kind::NotANumber, c);
            } else if (positive && !(*value > 0)) {
                fail(ProfileProblem::Kind::NotPositive, c);
                return std::nullopt;
            } else if (*value < low || *value > high) {
                fail(ProfileProblem::Kind::OutOfRange, c);
                reading.problems.back().low = low;
                reading.problems.back().high = high;
                return std::nullopt;
            }
            return value;
        };
        using namespace canal;
        canal::Reach reach;
        reach.name = std::string(cell(ProfileColumn::Name));
        if (reach.name.empty()) {
            fail(ProfileProblem::Kind::Missing, ProfileColumn::Name);
        }
        const auto length = number(ProfileColumn::Length, true, 0, kLongestReach);
        const std::string_view size = cell(ProfileColumn::Size);
        const SectionRef parsedSize = sections.Find(size);
        if (size.empty()) {
            fail(ProfileProblem::Kind::Missing, ProfileColumn::Size);
        } else if (!parsedSize) {
            fail(ProfileProblem::Kind::UnknownSize, ProfileColumn::Size);
            reading.problems.back().catalogue = sections.userCount() > 0;
        }
        const auto slope = number(ProfileColumn::Slope, true, kSteepestSlope, kFlattestSlope);
        const auto roughness = number(ProfileColumn::Roughness, true, 0, kLargestRoughness);
        const auto discharge = number(ProfileColumn::Discharge, true, 0, kLargestDischarge);
        reach.bed = number(ProfileColumn::Bed, false, -kHighestLevel, kHighestLevel);
        if (const std::string_view t = cell(ProfileColumn::Loss);
            !t.empty() && PlainNumber(t) && *PlainNumber(t) < 0) {
            fail(ProfileProblem::Kind::Negative, ProfileColumn::Loss);
        } else {
            reach.loss = number(ProfileColumn::Loss, false, 0, kLargestLoss);
        }
        reach.level = number(ProfileColumn::Level, false, -kHighestLevel, kHighestLevel);
        if (reading.problems.size() != before) {
            continue;
        }
        reach.sizeName = std::string(parsedSize->name);
        reach.shape = canal::SectionShape::Of(*parsedSize);
        reach.section = parsedSize;
        reach.length = *length;
        reach.slope = *slope;
        reach.roughness = *roughness;
        reach.discharge = *discharge;
        // The bed may drop into a reach, never rise; 1 µm is rounding.
        if (reach.bed && !reading.reaches.empty() && *reach.bed > bedAbove + 1e-6) {
            ProfileProblem p{.kind = ProfileProblem::Kind::BedRises,
                             .line = line,
                             .column = ProfileColumn::Bed,
                             .text = std::string(cell(ProfileColumn::Bed)),
                             .bedAbove = bedAbove};
            reading.problems.push_back(p);
            continue;
        }
        bedAbove = reach.bed.value_or(bedAbove) - reach.length / reach.slope;
        reading.reaches.push_back(std::move(reach));
        ProfileCells& texts = reading.cells.emplace_back();
        for (const views::ProfileColumnInfo& c : views::kProfileColumns) {
            texts[static_cast<std::size_t>(c.column)] = std::string(cell(c.column));
        }
    }
    if (!anyRow) {
        reading.problems.push_back({.kind = ProfileProblem::Kind::NoReaches});
    }
    return reading;
}

std::string WriteProfileRows(const std::vector<ProfileCells>& rows) {
    std::string csv;
    for (const views::ProfileColumnInfo& c : views::kProfileColumns) {
        csv += c.column == views::ProfileColumn::Name ? "" : ",";
        csv += c.key;
    }
    csv += '\n';
    for (const ProfileCells& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            csv += c ? "," : "";
            AppendCsvField(csv, row[c]);
        }
        csv += '\n';
    }
    return csv;
}

ProfileReading ReadProfileTable(const std::vector<ProfileCells>& rows, const SectionSet& sections) {
    const std::string csv = WriteProfileRows(rows);
    ProfileReading reading = ReadProfileRows(csv, sections);
    // The line each row starts on: a quoted cell may hold a line break.
    std::vector<std::size_t> starts;
    std::size_t line = 2;  // under the header
    for (const ProfileCells& row : rows) {
        starts.push_back(line);
        for (const std::string& cell : row) {
            line += static_cast<std::size_t>(std::count(cell.begin(), cell.end(), '\n'));
        }
        ++line;
    }
    for (views::ProfileProblem& p : reading.problems) {
        const auto at = std::find(starts.begin(), starts.end(), p.line);
        if (p.line > 0 && at != starts.end()) {
            p.line = static_cast<std::size_t>(at - starts.begin()) + 1;
        }
    }
    return reading;
}

}  // namespace veltrane::cli
