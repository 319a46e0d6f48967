// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/design_aid_text.h"

namespace veltrane::sheet {

namespace {

// The report box's CR LF line breaks as plain line feeds.
std::string Lines(std::string_view report) {
    std::string out;
    out.reserve(report.size());
    for (std::size_t i = 0; i < report.size(); ++i) {
        if (report[i] != '\r' || i + 1 == report.size() || report[i + 1] != '\n') {
            out += report[i];
        }
    }
    return out;
}

}  // namespace

std::string CapacityText(std::string_view slope, const CapacityResult& result) {
    if (result.rejected) {
        return std::string(result.rejected->text);
    }
    const std::string at = "纵坡 1/" + std::string(slope) + " 下";
    if (!result.discharge) {
        return at + "没有满足要求的设计流量（" + result.reason + "）。";
    }
    return at + "的最大设计流量：Q = " + result.dischargeText + " m³/s\n\n" +
           Lines(result.outcome.report().text);
}

std::string SlopeRangeText(const SlopeRange& range) {
    if (range.rejected) {
        return std::string(range.rejected->text);
    }
    if (!range.steepest || !range.flattest) {
        return "1/" + std::to_string(kSteepestSlope) + " 至 1/" + std::to_string(kFlattestSlope) +
               " 之间没有适用的纵坡（" + range.reason + "）。";
    }
    const std::string steepest = "1/" + std::to_string(*range.steepest);
    const std::string flattest = "1/" + std::to_string(*range.flattest);
    return "适用纵坡：" + steepest + " ～ " + flattest + "\n\n最陡 " + steepest + "：\n" +
           Lines(range.steepestOutcome.report().text) + "\n\n最缓 " + flattest + "：\n" +
           Lines(range.flattestOutcome.report().text);
}

}  // namespace veltrane::sheet
