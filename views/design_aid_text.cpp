// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/design_aid_text.h"

#include "hydraulics/float_chars.h"
#include "hydraulics/number_rules.h"
#include "views/lines.h"
#include "views/numbers.h"

namespace veltrane::views {

namespace {

using Why = ServeFailure::Why;
using Where = ServeFailure::Where;

// The flow a velocity is taken at: "at kQ", "校核流量 kQ 下".
std::string AtFlow(CriterionFlow flow, Language language) {
    const bool english = language == Language::English;
    switch (flow) {
        case CriterionFlow::Design:
            return english ? "at Q" : "设计流量 Q 下";
        case CriterionFlow::Check:
            return english ? "at kQ" : "校核流量 kQ 下";
        case CriterionFlow::Minimum:
            return english ? "at the minimum discharge" : "最小流量下";
    }
    return {};
}

// What fails, without where: "the freeboard, .024 m, is below 0.05 m".
std::string WhyText(const ServeFailure& f, Language language) {
    const std::string H = Decimal(f.channelDepth, kLengthDecimals);
    const std::string at = AtFlow(f.flow, language);
    const std::string value = Decimal(f.value, f.decimals);
    const std::string limit = Decimal(f.limit, f.decimals);
    if (language == Language::English) {
        switch (f.why) {
            case Why::None:
                return {};
            case Why::DesignDepthAboveH:
                return "the design depth exceeds H = " + H + " m";
            case Why::CheckDepthAboveH:
                return "the check depth exceeds H = " + H + " m";
            case Why::FreeboardBelow:
                return "the freeboard, " + value + " m, is below " + limit + " m";
            case Why::VelocityBelow:
                return "the velocity " + at + ", " + value + " m/s, is below " + limit + " m/s";
            case Why::VelocityAbove:
                return "the velocity " + at + ", " + value + " m/s, is above " + limit + " m/s";
        }
        return {};
    }
    switch (f.why) {
        case Why::None:
            return {};
        case Why::DesignDepthAboveH:
            return "设计水深大于渠深 H = " + H + " m";
        case Why::CheckDepthAboveH:
            return "校核水深大于渠深 H = " + H + " m";
        case Why::FreeboardBelow:
            return "安全超高 " + value + " m 小于 " + limit + " m";
        case Why::VelocityBelow:
            return at + "流速 " + value + " m/s 小于 " + limit + " m/s";
        case Why::VelocityAbove:
            return at + "流速 " + value + " m/s 大于 " + limit + " m/s";
    }
    return {};
}

}  // namespace

std::string ServeFailureText(const ServeFailure& f, Language language) {
    const std::string why = WhyText(f, language);
    const std::string steepest = "1/" + std::to_string(kSteepestSlope);
    const std::string flattest = "1/" + std::to_string(kFlattestSlope);
    if (language == Language::English) {
        switch (f.where) {
            case Where::SmallestDischarge:
                return "even 0.0001 m3/s does not serve: " + why;
            case Where::LargestFitting:
                return "at the largest discharge that fits, " + f.discharge + " m3/s, " + why;
            case Where::SteepestSlope:
                return "even at " + steepest + " " + why;
            case Where::EveryCarryingSlope:
                return "at every slope from " + steepest + " to 1/" + std::to_string(f.slope) +
                       " where the section carries both discharges, " + why;
            case Where::NoWholeSlope:
                return "no whole slope between " + steepest + " and " + flattest + " serves";
        }
        return {};
    }
    switch (f.where) {
        case Where::SmallestDischarge:
            return "流量小至 0.0001 m³/s 仍不满足：" + why;
        case Where::LargestFitting:
            return "不超出渠深的最大流量 " + f.discharge + " m³/s 下，" + why;
        case Where::SteepestSlope:
            return "纵坡陡至 " + steepest + " 时" + why;
        case Where::EveryCarryingSlope:
            return "在 " + steepest + " 至 1/" + std::to_string(f.slope) +
                   " 之间能通过两种流量的纵坡上，" + why;
        case Where::NoWholeSlope:
            return steepest + " 至 " + flattest + " 之间没有满足要求的整数纵坡";
    }
    return {};
}

std::string CapacityText(std::string_view slope, const CapacityResult& result) {
    if (result.rejected) {
        return std::string(result.rejected->text);
    }
    const std::string at = "纵坡 1/" + std::string(slope) + " 下";
    if (!result.discharge) {
        return at + "没有满足要求的设计流量（" +
               ServeFailureText(result.reason, Language::Chinese) + "）。";
    }
    const std::string q = result.atSearchLimit ? "Q ≥ " + result.dischargeText +
                                                     " m³/s（试算至此为止，更大的流量未试算）"
                                               : "Q = " + result.dischargeText + " m³/s";
    return at + "的最大设计流量：" + q + "\n\n" + UnixLines(result.outcome.report().text);
}

std::string SlopeRangeText(const SlopeRange& range) {
    if (range.rejected) {
        return std::string(range.rejected->text);
    }
    if (!range.steepest || !range.flattest) {
        return "1/" + std::to_string(kSteepestSlope) + " 至 1/" + std::to_string(kFlattestSlope) +
               " 之间没有适用的纵坡（" + ServeFailureText(range.reason, Language::Chinese) + "）。";
    }
    const std::string steepest = "1/" + std::to_string(*range.steepest);
    const std::string flattest = "1/" + std::to_string(*range.flattest);
    return "适用纵坡：" + steepest + " ～ " + flattest + "\n\n最陡 " + steepest + "：\n" +
           UnixLines(range.steepestOutcome.report().text) + "\n\n最缓 " + flattest + "：\n" +
           UnixLines(range.flattestOutcome.report().text);
}

}  // namespace veltrane::views
