#include "calculation_run.h"

#include <cmath>

#include "number_rules.h"

namespace veltrane {

namespace {

constexpr std::string_view kCrLf = "\r\n";

struct MessageText {
    int number;
    std::string_view text;
};

// Messages 1 to 4 use the full-width comma, 5 and 6 the ASCII one. Message 7
// keeps a value that the double range cannot hold, or a result that it
// cannot, out of the report.
constexpr MessageText kRoughness{1, "糙率不能为0或负数，请重新输入。"};
constexpr MessageText kDischarge{2, "设计流量不能为0或负数，请重新输入"};
constexpr MessageText kSlope{3, "设计纵坡不能为负数或0，请重新输入"};
constexpr MessageText kFactor{4, "加大系数已不在适用范围，请重新输入"};
constexpr MessageText kDesignOverflow{5, "设计水深已大于渠深,请选用其他U形渠道构件。"};
constexpr MessageText kCheckOverflow{6, "校核水深已大于渠深,请选用其他U形渠道构件。"};
constexpr MessageText kOutOfRange{7, "输入数值超出计算范围，请重新输入"};

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

std::array<ReportLine, kReportLineCount> ReportLines(const USection& section,
                                                     const CalculationOutcome& outcome) {
    const int d = section.reportDecimals;
    const FlowElements& e = outcome.design.elements;
    return {{
        {"校核流量：Q =", outcome.checkDischarge, 4},
        {"设计水深：h =", outcome.design.reportedDepth, d},
        {"校核水深：h1=", outcome.check.reportedDepth, d},
        {"流    速：V =", e.velocity, 3},
        {"水面宽度：b =", e.surfaceWidth, d},
        {"过水面积：A =", e.area, d},
        {"湿    周：X =", e.wettedPerimeter, d},
        {"水力半径：R =", e.hydraulicRadius, d},
        {"谢才系数：C =", e.chezy, d},
    }};
}

CalculationOutcome RunCalculation(const USection& section, const CalculationInputs& inputs) {
    CalculationOutcome out;
    out.header = section.headerText;
    ParsedInputs& v = out.inputs;
    v.roughness = ParseNumber(inputs.roughness);
    v.discharge = ParseNumber(inputs.discharge);
    v.slope = ParseNumber(inputs.slope);
    v.factor = ParseNumber(inputs.factor);

    // One box at a time, roughness first. A value past the double range
    // ("1e400") is caught in its box's turn, after that box's own test.
    struct Check {
        double value;
        bool bad;
        MessageText message;
        InputBox box;
    };
    const Check checks[] = {
        {v.roughness, v.roughness <= 0, kRoughness, InputBox::text6},
        {v.discharge, v.discharge <= 0, kDischarge, InputBox::Text2},
        {v.slope, v.slope <= 0, kSlope, InputBox::Text4},
        {v.factor, v.factor < 1 || v.factor > 2, kFactor, InputBox::Text7},
    };
    for (const Check& c : checks) {
        if (c.bad) {
            out.message = OneBoxMessage(section, c.message, c.box);
            return out;
        }
        if (!std::isfinite(c.value)) {
            out.message = OneBoxMessage(section, kOutOfRange, c.box);
            return out;
        }
    }

    out.searched = true;
    out.checkDischarge = v.factor * v.discharge;
    out.design = SearchDepth(section, v.discharge, v.roughness, v.slope, SearchKind::Design);
    out.check = SearchDepth(section, out.checkDischarge, v.roughness, v.slope, SearchKind::Check);
    if (out.design.overflow) {
        out.message = ResetAllMessage(section, kDesignOverflow);
        return out;
    }
    if (out.check.overflow) {
        out.message = ResetAllMessage(section, kCheckOverflow);
        return out;
    }

    // Extreme but finite inputs (a roughness of 1e-310 makes 1/n infinite)
    // can carry a result past the double range; such a report is never shown.
    const auto lines = ReportLines(section, out);
    std::array<double, kReportLineCount> rounded{};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        rounded[i] = RoundHalfEven(lines[i].value, lines[i].decimals);
        if (!std::isfinite(rounded[i])) {
            out.message = ResetAllMessage(section, kOutOfRange);
            return out;
        }
    }

    std::string& r = out.report;
    r.reserve(320);
    r += section.reportHeader;
    r += kCrLf;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            r += kCrLf;
            r += kCrLf;
        }
        out.printed[i] = FormatResultNumber(rounded[i]);
        r += lines[i].label;
        r += out.printed[i];
    }
    out.isReport = true;
    return out;
}

}  // namespace veltrane
