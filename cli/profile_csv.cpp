// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/profile_csv.h"

#include <cmath>

#include "hydraulics/float_chars.h"
#include "views/profile_words.h"

namespace veltrane::cli {

std::string FourPlaces(double v) {
    char buffer[64];
    double rounded = std::round(v * 1e4) / 1e4;
    if (rounded == 0) {
        rounded = 0.0;
    }
    const auto end = ToChars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 4);
    return std::string(buffer, end.ptr);
}

std::string ProfileCsv(const canal::CanalRequest& request, const canal::CanalProfile& profile,
                       views::Language language, CsvFor reader) {
    std::string out;
    const bool english = language == views::Language::English;
    for (std::size_t c = 0; c < views::kStationColumns.size(); ++c) {
        out += c ? "," : "";
        out += english ? views::kStationColumns[c].key : views::kStationColumns[c].chinese;
    }
    out += '\n';
    for (const canal::FlowProfile& flow : profile.flows) {
        for (const canal::Station& s : flow.stations) {
            out += views::FlowName(flow.kind, language);
            out += ',';
            AppendCsvField(out, request.reaches[s.reach].name, reader);
            for (const double v : {s.chainage, s.bed, s.depth, s.level, s.velocity, s.froude,
                                   s.energy, s.top, s.freeboard}) {
                out += ',' + FourPlaces(v);
            }
            out += ',';
            out += views::CurveTypeName(s.type, language);
            out += '\n';
        }
    }
    return out;
}

}  // namespace veltrane::cli
