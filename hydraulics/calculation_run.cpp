// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/calculation_run.h"

#include <algorithm>
#include <cmath>

#include "hydraulics/number_rules.h"

namespace veltrane {

namespace {

constexpr std::string_view kCrLf = "\r\n";

struct MessageText {
    MessageNumber number;
    std::string_view text;
};

// Messages 1 to 4 use the full-width comma, 5 and 6 the ASCII one.
constexpr MessageText kRoughness{MessageNumber::Roughness, "糙率不能为0或负数，请重新输入。"};
constexpr MessageText kDischarge{MessageNumber::Discharge, "设计流量不能为0或负数，请重新输入"};
constexpr MessageText kSlope{MessageNumber::Slope, "设计纵坡不能为负数或0，请重新输入"};
constexpr MessageText kFactor{MessageNumber::Factor, "加大系数已不在适用范围，请重新输入"};
constexpr MessageText kDesignOverflow{MessageNumber::DesignOverflow,
                                      "设计水深已大于渠深,请选用其他U形渠道构件。"};
constexpr MessageText kCheckOverflow{MessageNumber::CheckOverflow,
                                     "校核水深已大于渠深,请选用其他U形渠道构件。"};
constexpr MessageText kOutOfRange{MessageNumber::OutOfRange, "输入数值超出计算范围，请重新输入"};

CalculationMessage OneBoxMessage(const USection& section, MessageText m, InputBox box) {
    CalculationMessage message;
    message.number = m.number;
    message.text = m.text;
    message.box = box;
    message.restores[0] = {box, DefaultText(section, box)};
    message.restoreCount = 1;
    return message;
}

// After a depth message every box and the report box start over.
CalculationMessage ResetAllMessage(const USection& section, MessageText m) {
    CalculationMessage message;
    message.number = m.number;
    message.text = m.text;
    message.box = InputBox::Text2;
    for (int i = 0; i < kInputBoxCount; ++i) {
        const auto box = static_cast<InputBox>(i);
        message.restores[static_cast<std::size_t>(i)] = {box, DefaultText(section, box)};
    }
    message.restoreCount = kInputBoxCount;
    message.reportBoxText = section.reportHeader;
    return message;
}

}  // namespace

std::string_view InputBoxName(InputBox box) {
    static constexpr std::array<std::string_view, kInputBoxCount> kNames = {"Text2", "Text4",
                                                                            "text6", "Text7"};
    return kNames[static_cast<std::size_t>(box)];
}

std::string_view DefaultText(const USection& section, InputBox box) {
    switch (box) {
        case InputBox::Text2:
            return section.defaultDischarge;
        case InputBox::Text4:
            return "500";
        case InputBox::text6:
            return "0.017";
        case InputBox::Text7:
            return "1.0";
    }
    return {};
}

CalculationMessage OutOfRangeMessage(const USection& section) {
    return ResetAllMessage(section, kOutOfRange);
}

std::array<ReportLine, kReportLineCount> ReportLines(const USection& section,
                                                     const SearchOutcome& searches) {
    const int d = section.reportDecimals;
    const FlowElements& e = searches.design.elements;
    return {{
        {"校核流量：Q =", searches.checkDischarge, 4},
        {"设计水深：h =", searches.design.reportedDepth, d},
        {"校核水深：h1=", searches.check.reportedDepth, d},
        {"流    速：V =", e.velocity, 3},
        {"水面宽度：b =", e.surfaceWidth, d},
        {"过水面积：A =", e.area, d},
        {"湿    周：X =", e.wettedPerimeter, d},
        {"水力半径：R =", e.hydraulicRadius, d},
        {"谢才系数：C =", e.chezy, d},
    }};
}

ParsedInputs ParseInputs(const CalculationInputs& inputs) {
    ParsedInputs v;
    v.roughness = ParseNumber(inputs.roughness);
    v.discharge = ParseNumber(inputs.discharge);
    v.slope = ParseNumber(inputs.slope);
    v.factor = ParseNumber(inputs.factor);
    return v;
}

std::optional<CalculationMessage> CheckInputs(const USection& section, const ParsedInputs& v,
                                              std::span<const InputBox> boxes) {
    // One box at a time, roughness first. A value past the double range
    // ("1e400") is caught in its box's turn, after that box's own test.
    struct Check {
        InputBox box;
        double value;
        bool bad;
        MessageText message;
    };
    const Check checks[] = {
        {InputBox::text6, v.roughness, v.roughness <= 0, kRoughness},
        {InputBox::Text2, v.discharge, v.discharge <= 0, kDischarge},
        {InputBox::Text4, v.slope, v.slope <= 0, kSlope},
        {InputBox::Text7, v.factor, v.factor < 1 || v.factor > 2, kFactor},
    };
    for (const Check& c : checks) {
        if (std::find(boxes.begin(), boxes.end(), c.box) == boxes.end()) {
            continue;
        }
        if (c.bad) {
            return OneBoxMessage(section, c.message, c.box);
        }
        if (!std::isfinite(c.value)) {
            return OneBoxMessage(section, kOutOfRange, c.box);
        }
    }
    return std::nullopt;
}

std::optional<MessageNumber> SearchVerdict(const USection& section, const SearchOutcome& s) {
    if (s.design.overflow) {
        return MessageNumber::DesignOverflow;
    }
    if (s.check.overflow) {
        return MessageNumber::CheckOverflow;
    }
    // Extreme but finite inputs (a roughness of 1e-310 makes 1/n infinite)
    // can carry a result past the double range; such a report is never shown.
    // Rounding keeps a finite value finite, so the raw values decide.
    for (const ReportLine& line : ReportLines(section, s)) {
        if (!std::isfinite(line.value)) {
            return MessageNumber::OutOfRange;
        }
    }
    return std::nullopt;
}

CalculationOutcome EvaluateCalculation(const USection& section, const CalculationInputs& inputs) {
    static constexpr InputBox kAllBoxes[] = {InputBox::Text2, InputBox::Text4, InputBox::text6,
                                             InputBox::Text7};
    CalculationOutcome out;
    out.header = section.headerText;
    out.inputs = ParseInputs(inputs);
    const ParsedInputs& v = out.inputs;
    if (auto message = CheckInputs(section, v, kAllBoxes)) {
        out.result = *message;
        return out;
    }

    SearchOutcome& s = out.searches.emplace();
    s.checkDischarge = v.factor * v.discharge;
    s.design = SearchDepth(section, v.discharge, v.bed(), SearchKind::Design);
    // The design overflow is reported whatever the check search would find.
    if (!s.design.overflow) {
        s.check = SearchDepth(section, s.checkDischarge, v.bed(), SearchKind::Check);
    }
    if (const auto number = SearchVerdict(section, s)) {
        static constexpr MessageText kDepthMessages[] = {kDesignOverflow, kCheckOverflow,
                                                         kOutOfRange};
        for (const MessageText& m : kDepthMessages) {
            if (m.number == *number) {
                out.result = ResetAllMessage(section, m);
            }
        }
        return out;
    }
    out.result = CalculationReport{};
    return out;
}

CalculationReport WriteReport(const USection& section, const SearchOutcome& searches) {
    const auto lines = ReportLines(section, searches);
    CalculationReport report;
    std::string& r = report.text;
    r.reserve(320);
    r += section.reportHeader;
    r += kCrLf;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            r += kCrLf;
            r += kCrLf;
        }
        const std::string number =
            FormatResultNumber(RoundHalfEven(lines[i].value, lines[i].decimals));
        r += lines[i].label;
        r += number;
        report.printed[i] = WithoutLeadingBlank(number);
    }
    return report;
}

CalculationOutcome RunCalculation(const USection& section, const CalculationInputs& inputs) {
    CalculationOutcome out = EvaluateCalculation(section, inputs);
    if (out.isReport()) {
        out.result = WriteReport(section, *out.searches);
    }
    return out;
}

}  // namespace veltrane
