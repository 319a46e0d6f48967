// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/canal_rows.h"

#include <string>

#include "cli/batch_rows.h"

namespace veltrane::cli {

namespace {

// The optional columns of a canal file, after the five required ones.
constexpr std::string_view kReachColumns[] = {"name", "station", "project"};
enum { kName = kBatchColumnCount, kStation, kProject };

std::string Or(std::string_view value, const std::string& fallback) {
    return value.empty() ? fallback : std::string(value);
}

}  // namespace

CanalReading ReadCanalRows(std::string_view text, const sheet::ReachDetails& defaults,
                           const DesignCriteria& criteria, const SectionSet& sections) {
    CanalReading reading;
    reading.problem = ReadBatchRows(
        text, kReachColumns,
        [&](const BatchRow& row) {
            sheet::CanalRow r{.line = row.line, .problem = row.problem};
            // The row's own name, chainage and project; the rest is the document's.
            r.request.reach = defaults;
            r.request.reach.project = Or(row.values[kProject], defaults.project);
            r.request.reach.channel = Or(row.values[kName], defaults.channel);
            r.request.reach.station = Or(row.values[kStation], defaults.station);
            if (row.section) {
                r.request.section = row.section;
                r.request.fitAmong = sections;
                r.request.discharge = row.values[kDischarge];
                r.request.slope = row.values[kSlope];
                r.request.roughness = row.values[kRoughness];
                r.request.factor = row.values[kFactor];
                r.request.criteria = criteria;
            }
            reading.rows.push_back(std::move(r));
            return true;
        },
        sections);
    return reading;
}

}  // namespace veltrane::cli
