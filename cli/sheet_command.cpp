// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sheet_command.h"

#include <cerrno>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "cli/batch_rows.h"
#include "cli/output_file.h"
#include "cli/sheet_output.h"
#include "hydraulics/calculation_run.h"
#include "sheet/sheet_builder.h"

namespace veltrane::cli {

namespace {

// The optional columns of a canal file, after the five required ones.
constexpr std::string_view kReachColumns[] = {"name", "station", "project"};
enum { kName = kBatchColumnCount, kStation, kProject };

// "2026年12月8日", the way a sheet is dated by hand.
std::string Today() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) {
        return {};
    }
    return std::to_string(local->tm_year + 1900) + "年" + std::to_string(local->tm_mon + 1) + "月" +
           std::to_string(local->tm_mday) + "日";
}

sheet::ReachDetails DetailsFrom(const CommandLine& c) {
    return {.project = c.project.value_or(""),
            .channel = c.channel.value_or(""),
            .station = c.station.value_or(""),
            .designer = c.designer.value_or(""),
            .date = c.date ? *c.date : Today()};
}

int RunCanal(const CommandLine& c, std::istream& in, std::string_view name, std::ostream& err) {
    const sheet::ReachDetails defaults = DetailsFrom(c);
    std::vector<sheet::CanalRow> rows;
    const int status = ReadBatchRows(in, name, kReachColumns, err, [&](const BatchRow& row) {
        // The summary says "第 N 行：" itself.
        const auto colon = row.problem.find(": ");
        sheet::CanalRow r{
            .line = row.line,
            .problem = colon == std::string::npos ? row.problem : row.problem.substr(colon + 2)};
        if (row.size) {
            const auto or_ = [](std::string_view value, const std::string& fallback) {
                return value.empty() ? fallback : std::string(value);
            };
            r.request = {.size = *row.size,
                         .discharge = std::string(row.values[kDischarge]),
                         .slope = std::string(row.values[kSlope]),
                         .roughness = std::string(row.values[kRoughness]),
                         .factor = std::string(row.values[kFactor]),
                         .reach = {.project = or_(row.values[kProject], defaults.project),
                                   .channel = or_(row.values[kName], defaults.channel),
                                   .station = or_(row.values[kStation], defaults.station),
                                   .designer = defaults.designer,
                                   .date = defaults.date},
                         .criteria = c.criteria};
        }
        rows.push_back(std::move(r));
        return true;
    });
    if (status != kExitReport) {
        return status;
    }
    return SaveSheet(c, sheet::BuildCanal(rows), err);
}

}  // namespace

int RunSheet(const CommandLine& c, std::istream& in, std::ostream& err) {
    const auto& v = c.operands;
    if (c.batch) {
        if (!v.empty()) {
            return UsageError(err, "sheet --batch takes the reaches from FILE, not from values");
        }
        if (*c.batch == "-") {
            return RunCanal(c, in, "standard input", err);
        }
        errno = 0;
        std::ifstream file(*c.batch, std::ios::binary);
        if (!file) {
            err << "veltrane-calc: cannot read " << *c.batch << ": " << LastErrorText() << '\n';
            return kExitUsage;
        }
        return RunCanal(c, file, *c.batch, err);
    }
    if (v.size() != 5) {
        return UsageError(err, "sheet takes SIZE DISCHARGE SLOPE ROUGHNESS FACTOR");
    }
    const auto size = ParseSectionName(v[0]);
    if (!size) {
        return UsageError(err, "unknown size " + std::string(v[0]));
    }
    const sheet::SheetRequest request{.size = *size,
                                      .discharge = std::string(v[1]),
                                      .slope = std::string(v[2]),
                                      .roughness = std::string(v[3]),
                                      .factor = std::string(v[4]),
                                      .reach = DetailsFrom(c),
                                      .criteria = c.criteria};
    if (const int status = SaveSheet(c, sheet::BuildSheet(request), err); status != kExitReport) {
        return status;
    }
    const bool report =
        EvaluateCalculation(LookupSection(*size), {v[1], v[2], v[3], v[4]}).isReport();
    return report ? kExitReport : kExitMessage;
}

}  // namespace veltrane::cli
