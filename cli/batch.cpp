#include "cli/batch.h"

#include <array>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/csv.h"
#include "hydraulics/calculation_run.h"

namespace veltrane::cli {

namespace {

enum Column { kSize, kDischarge, kSlope, kRoughness, kFactor, kColumnCount };

constexpr std::array<std::string_view, kColumnCount> kColumnNames = {"size", "discharge", "slope",
                                                                     "roughness", "factor"};

constexpr std::string_view kOutputHeader =
    "size,discharge,slope,roughness,factor,status,check_discharge,design_depth,check_depth,"
    "velocity,surface_width,area,wetted_perimeter,hydraulic_radius,chezy,message\n";

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

// Flushes the output in large pieces rather than per row.
constexpr std::size_t kFlushSize = 1 << 16;

}  // namespace

int RunBatch(std::istream& in, std::string_view name, bool bom, std::ostream& out,
             std::ostream& err) {
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
    std::array<std::size_t, kColumnCount> position{};
    std::array<bool, kColumnCount> found{};
    for (std::size_t i = 0; i < count; ++i) {
        const std::string column = Trimmed(fields[i]);
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            if (column == kColumnNames[c]) {
                if (found[c]) {
                    err << "veltrane-calc: the batch header names the column '" << column
                        << "' twice\n";
                    return kExitUsage;
                }
                found[c] = true;
                position[c] = i;
            }
        }
    }
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        if (!found[c]) {
            err << "veltrane-calc: the batch header has no column '" << kColumnNames[c] << "'\n";
            return kExitUsage;
        }
    }
    const std::size_t width = count;

    std::string buffer;
    buffer.reserve(kFlushSize + 4096);
    if (bom) {
        buffer += kUtf8Bom;
    }
    buffer += kOutputHeader;
    const auto flush = [&] {
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
        return static_cast<bool>(out);
    };
    std::string why;
    while (reader.Next(fields, count, problem)) {
        if (count == 1 && fields[0].empty() && problem == CsvReader::Problem::None) {
            continue;  // a blank line holds no row
        }
        auto value = [&](Column c) -> std::string_view {
            return position[c] < count ? std::string_view(fields[position[c]]) : "";
        };
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            AppendCsvField(buffer, value(static_cast<Column>(c)));
            buffer += ',';
        }
        why.clear();
        const std::string line = "line " + std::to_string(reader.line()) + ": ";
        const auto size = ParseSectionName(Trimmed(value(kSize)));
        if (problem == CsvReader::Problem::Unclosed) {
            why = line + "a quoted field is not closed";
        } else if (problem == CsvReader::Problem::TooLong) {
            why = line + "longer than " + std::to_string(CsvReader::kRecordLimit) + " bytes";
        } else if (count != width) {
            why = line + std::to_string(count) + " fields, the header has " + std::to_string(width);
        } else if (!size) {
            why = line + "unknown size '" + std::string(value(kSize)) + "'";
        }
        if (!why.empty()) {
            buffer += "error,,,,,,,,,,";
            AppendCsvField(buffer, why);
        } else {
            const USection& section = LookupSection(*size);
            const CalculationOutcome outcome = RunCalculation(
                section, {value(kDischarge), value(kSlope), value(kRoughness), value(kFactor)});
            if (outcome.isReport()) {
                buffer += "report,";
                for (const std::string& number : outcome.report().printed) {
                    buffer += number;
                    buffer += ',';
                }
            } else {
                buffer += "message,,,,,,,,,,";
                AppendCsvField(buffer, outcome.message().text);
            }
        }
        buffer += '\n';
        if (buffer.size() >= kFlushSize && !flush()) {
            return kExitWrite;
        }
    }
    if (!flush()) {
        return kExitWrite;
    }
    if (reader.failed()) {
        return cannotRead();
    }
    return kExitReport;
}

}  // namespace veltrane::cli
