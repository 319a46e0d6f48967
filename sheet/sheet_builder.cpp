// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheet_builder.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "hydraulics/calculation_run.h"
#include "hydraulics/float_chars.h"
#include "hydraulics/flow_extras.h"
#include "hydraulics/number_rules.h"
#include "hydraulics/section_dimensions.h"
#include "hydraulics/section_hydraulics.h"
#include "sheet/markup.h"
#include "sheet/section_svg.h"
#include "views/numbers.h"
#include "views/verdicts.h"

namespace veltrane::sheet {

namespace {

constexpr std::string_view kTitle = "装配式U形渠道水力计算书";
// A user's section may be cast in place: its sheet claims no precast.
constexpr std::string_view kUserTitle = "U形渠道水力计算书";

std::string_view TitleFor(const USection& section) {
    return section.userDefined ? kUserTitle : kTitle;
}
constexpr std::string_view kPass = views::kMeets;
constexpr std::string_view kFail = views::kFails;

using views::Decimal;
using views::kDischargeDecimals;
using views::kLengthDecimals;
using views::kVelocityDecimals;

std::string Flow(double q) {
    return Decimal(q, kDischargeDecimals);
}

std::string Length(double m) {
    return Decimal(m, kLengthDecimals);
}

std::string Quoted(std::string_view text) {
    return "“" + std::string(text) + "”";
}

std::string SizeLabel(const USection& s) {
    return std::string(s.sizeLabel);
}

// What a message's box holds, for the sheet's wording.
std::string_view Quantity(InputBox box) {
    switch (box) {
        case InputBox::Text2:
            return "设计流量 Q";
        case InputBox::Text4:
            return "设计纵坡 1/x";
        case InputBox::text6:
            return "糙率 n";
        case InputBox::Text7:
            return "加大系数 k";
    }
    return {};
}

std::string_view TextOf(const SheetRequest& r, InputBox box) {
    switch (box) {
        case InputBox::Text2:
            return r.discharge;
        case InputBox::Text4:
            return r.slope;
        case InputBox::text6:
            return r.roughness;
        case InputBox::Text7:
            return r.factor;
    }
    return {};
}

// Everything the sheet says about one reach, computed once.
struct Reach {
    const SheetRequest& request;
    const USection& section;
    CalculationOutcome outcome;
    std::vector<CriterionCheck> criteria;
    bool rejected = false;  // messages 1 to 4 and 7: nothing to show but the rejection
    bool serves = false;
    const USection* smallestFit = nullptr;     // when it does not serve
    std::optional<DepthSearchResult> minimum;  // the minimum discharge's search, when used
};

Reach Evaluate(const SheetRequest& request) {
    const USection& section = *request.section;
    const CalculationInputs texts{request.discharge, request.slope, request.roughness,
                                  request.factor};
    Reach reach{request, section, RunCalculation(section, texts), {}, false, false, {}, {}};
    const CalculationOutcome& o = reach.outcome;
    if (!o.isReport()) {
        reach.rejected = o.rejectsInputs();
    } else {
        reach.minimum = MinimumFlowSearch(section, o, request.criteria);
        reach.criteria = CheckCriteria(section, *o.searches, request.criteria,
                                       reach.minimum ? &*reach.minimum : nullptr);
        reach.serves = AllPass(reach.criteria);
    }
    if (!reach.rejected && !reach.serves) {
        reach.smallestFit =
            FitSections(texts, request.criteria, request.fitAmong.ByArea()).smallest;
    }
    return reach;
}

void AddTitle(Document& doc, const SheetRequest& r) {
    doc.blocks.emplace_back(Heading{1, std::string(TitleFor(*r.section))});
    doc.blocks.emplace_back(TitleBlock(r.reach));
}

// 计算依据, as the engineer gives it; nothing is cited on their behalf.
void AddBasis(Document& doc, const SheetRequest& r) {
    doc.blocks.emplace_back(Heading{3, "计算依据"});
    if (r.basis.empty()) {
        doc.blocks.emplace_back(Paragraph{"未给定。", Tone::Note});
        return;
    }
    for (std::size_t i = 0; i < r.basis.size(); ++i) {
        doc.blocks.emplace_back(Paragraph{std::to_string(i + 1) + ". " + r.basis[i]});
    }
}

void AddRejection(Document& doc, const Reach& reach) {
    const CalculationMessage& m = reach.outcome.message();
    doc.blocks.emplace_back(Heading{2, "输入被拒绝"});
    doc.blocks.emplace_back(Paragraph{std::string(m.text), Tone::Fail});
    // The quantity, not the control's name: a reader of the sheet never saw
    // the window's boxes by their names.
    doc.blocks.emplace_back(Paragraph{"涉及输入：" + std::string(Quantity(m.box)) + "，输入文字为" +
                                      Quoted(TextOf(reach.request, m.box)) +
                                      "。未进行计算，本计算书不列计算成果。"});
}

void AddKnownData(Document& doc, const Reach& reach) {
    const USection& s = reach.section;
    const SectionDimensions& dim = s.dimensions;
    const ParsedInputs& v = reach.outcome.inputs;
    const SheetRequest& r = reach.request;
    doc.blocks.emplace_back(Heading{2, "一、已知条件"});
    AddBasis(doc, r);
    doc.blocks.emplace_back(Heading{3, "基本资料"});
    Table t{.header = {"项目", "符号", "数值", "单位", "说明"}};
    const auto row = [&t](std::string a, std::string b, std::string c, std::string d,
                          std::string e = {}) {
        t.rows.push_back({std::move(a), std::move(b), std::move(c), std::move(d), std::move(e)});
    };
    // A user's dimensions are the designer's: the sheet says so, and says
    // which of them were worked out rather than given.
    const std::string given = s.userDefined ? "设计人给定" : "尺寸表";
    row("断面", "", SizeLabel(s), "",
        s.userDefined ? "自定义断面，尺寸由设计人给定"
                      : "标准装配式U形渠道构件 " + std::string(dim.name));
    // A user's r and H to a hundredth of a millimetre, as typed.
    const auto dimension = [&s](double m) { return s.userDefined ? Decimal(m, 5) : Length(m); };
    row("底弧半径", "r", dimension(s.radius), "m", s.userDefined ? given : "");
    row("直墙倾角", "α", std::string(dim.angleDeg), "°", s.userDefined ? given : "");
    row("底弧圆心角", "θ", Decimal(s.arcAngle, views::kAngleDecimals), "°", "θ = 180° − 2α");
    row("渠深", "H", dimension(s.channelDepth), "m", s.userDefined ? given : "");
    row("切点深度", "t", Decimal(TangentDepth(s), 4), "m", "t = r(1 − sin α)");
    // A given B that r, α and H do not give (by more than the standard
    // table's own rounding, 1 cm) is quoted with the width they give.
    std::string topNote = given;
    if (s.userDefined && !s.topWidthComputed) {
        const double worked = TopWidth(s.radius, s.alphaPi / kPi, s.channelDepth) * 100;
        double givenCm = 0;
        FromChars(dim.topWidthCm.data(), dim.topWidthCm.data() + dim.topWidthCm.size(), givenCm);
        if (std::abs(givenCm - worked) > 1) {
            topNote += "；按 r、α、H 算得 " + Decimal(worked, 1) + " cm，与给定值不符";
        }
    }
    row("渠口宽", "B", std::string(dim.topWidthCm), "cm",
        s.topWidthComputed ? "未给定，按 B = 2[r cos α + (H − t) tan α] 算得" : topNote);
    if (dim.slabCm.empty()) {
        row("板厚", "δ", "—", "cm", "未给定");
    } else {
        row("板厚", "δ", std::string(dim.slabCm), "cm", given);
    }
    row("设计流量", "Q", Flow(v.discharge), "m³/s", "输入" + Quoted(r.discharge));
    row("设计纵坡", "i = 1/x", "1/" + Decimal(v.slope, views::kSlopeDecimals), "",
        "输入" + Quoted(r.slope));
    row("糙率", "n", Decimal(v.roughness, views::kRoughnessDecimals), "",
        "输入" + Quoted(r.roughness));
    row("加大系数", "k", Decimal(v.factor, views::kRatioDecimals), "", "输入" + Quoted(r.factor));
    row("加大流量", "kQ", Flow(reach.outcome.searches->checkDischarge), "m³/s", "校核流量");
    if (const auto qmin = r.criteria.minDischarge) {
        row("最小流量", "Qmin", Flow(*qmin), "m³/s",
            reach.minimum ? "流速下限按此流量校核" : "未用于校核");
    }
    doc.blocks.emplace_back(std::move(t));

    const DesignCriteria& c = r.criteria;
    if (c.empty()) {
        doc.blocks.emplace_back(Paragraph{"设计准则：未给定。", Tone::Note});
        return;
    }
    std::string text = "设计准则（由设计人给定）：";
    const auto cited = [](const std::string& source) {
        return source.empty() ? std::string() : "（依据：" + source + "）";
    };
    if (c.minFreeboard) {
        text += "安全超高不小于 " + Length(*c.minFreeboard) + " m" + cited(r.sources.minFreeboard) +
                "；";
    }
    if (c.minVelocity) {
        text += "流速不小于 " + Decimal(*c.minVelocity, kVelocityDecimals) + " m/s" +
                cited(r.sources.minVelocity) + "；";
    }
    if (c.maxVelocity) {
        text += "流速不大于 " + Decimal(*c.maxVelocity, kVelocityDecimals) + " m/s" +
                cited(r.sources.maxVelocity) + "；";
    }
    text.replace(text.size() - std::string_view("；").size(), std::string_view("；").size(), "。");
    doc.blocks.emplace_back(Paragraph{text});
    // Which flow each given criterion is checked at.
    std::vector<std::string> atFlows;
    if (c.minFreeboard) {
        atFlows.push_back("安全超高按校核流量 kQ 校核");
    }
    if (c.maxVelocity) {
        atFlows.push_back("流速上限按校核流量 kQ 校核");
    }
    if (c.minVelocity) {
        atFlows.push_back("流速下限按" +
                          std::string(reach.minimum ? "最小流量 Qmin" : "设计流量 Q") + " 校核");
    }
    std::string flowsText;
    for (const std::string& f : atFlows) {
        flowsText += (flowsText.empty() ? "" : "，") + f;
    }
    doc.blocks.emplace_back(Paragraph{flowsText + "。", Tone::Note});
    if (c.minDischarge && *c.minDischarge > v.discharge) {
        doc.blocks.emplace_back(Paragraph{"最小流量 " + Flow(*c.minDischarge) +
                                              " m³/s 大于设计流量，不予采用；流速下限按设计流量"
                                              " Q 校核。",
                                          Tone::Fail});
    }
}

void AddMethod(Document& doc, const USection& s) {
    doc.blocks.emplace_back(Heading{2, "二、计算方法与公式"});
    const std::string_view lines[] = {
        "按明渠均匀流计算，谢才系数采用曼宁公式：",
        "R = A/χ，C = R^{1/6}/n，Q = A·C·(R·i)^{1/2}，其中 i = 1/x。",
        "角度 φ、θ、α 以度（°）计。圆弧段（h ≤ t）：d = r − h，φ = arctan(√(r² − d²)/d)，"
        "A = πr²·2φ/360° − d·√(r² − d²)，χ = 2πr·2φ/360°，b = 2r·sin φ。",
        "直线段（h > t）：A = πr²·θ/360° − r²·sin α·cos α + 2(h − t)·r·cos α + "
        "(h − t)²·tan α，χ = 2πr·θ/360° + 2(h − t)/cos α，b = 2r·cos α + 2(h − t)·tan α。",
        "水深采用逐步试算：自 h = 0.001 m 起，每步增加 0.001 m，逐一计算流量，直至计算流量首次"
        "大于目标流量。成果水深取该水深再加一步（0.001 m）；流速、水面宽度等水力要素取流量首次"
        "大于目标流量之水深（计算水深）处的数值。校核水深按加大流量 kQ 以同法求得。成果水深大于"
        "渠深 H 时，该断面不能通过相应流量。",
    };
    for (std::string_view line : lines) {
        doc.blocks.emplace_back(Paragraph{.text = std::string(line), .formula = true});
    }
    std::string pi = "π 取 3.141592654";
    if (s.piDeg != kPi) {
        pi += "；设计水深试算中圆弧段弧度与角度换算取 π = " + Decimal(s.piDeg, 9);
    }
    doc.blocks.emplace_back(Paragraph{pi + "。", Tone::Note});
}

// Where a search passes the channel depth, what that means in numbers: the
// deepest depth tried within H and its discharge against the target (the
// usual case), or, where the target was passed at that very depth, that the
// result depth one step above it reaches H.
struct Overflow {
    std::string value;        // the check table's computed value
    std::string requirement;  // and what it is held against
    std::string sentence;     // the working's and the conclusion's words, without a full stop
};

Overflow OverflowOf(const USection& s, const DepthSearchResult& search, double target,
                    std::string_view flowName) {
    const FlowElements& last = search.elements;
    const std::string H = Length(s.channelDepth);
    if (last.discharge <= target) {
        return {.value = "渠深内最大 " + Flow(last.discharge) +
                         " m³/s（h′ = " + Length(last.depth) + " m）",
                .requirement = "> " + Flow(target) + " m³/s",
                .sentence = "渠深 H = " + H + " m 以内最深的试算水深 " + Length(last.depth) +
                            " m 处计算流量为 " + Flow(last.discharge) + " m³/s，不大于" +
                            std::string(flowName) + " " + Flow(target) +
                            " m³/s，该断面在渠深以内不能通过" + std::string(flowName)};
    }
    const std::string reported = Length(search.reportedDepth);
    return {.value = reported + " m（= H，无超高）",
            .requirement = "≤ H = " + H + " m（按逐步累加值，末位超出）",
            .sentence = "计算流量在试算水深 " + Length(last.depth) + " m 处首次超过" +
                        std::string(flowName) + "，成果水深 " + Length(last.depth) +
                        " + 0.001 = " + reported + " m，与渠深 H = " + H +
                        " m 相同，没有超高；程序以逐步累加的水深与渠深比较，其累加值略大于 "
                        "H，故判为超过渠深"};
}

void AddSearch(Document& doc, const Reach& reach, const DepthSearchResult& search, double target,
               std::string_view name, std::string_view symbol, std::string_view flowName) {
    const USection& s = reach.section;
    const std::string targetText = Flow(target);
    doc.blocks.emplace_back(Heading{3, std::string(name) + "（目标流量 " + targetText + " m³/s）"});
    Table t{.header = {"水深 h (m)", "计算流量 (m³/s)", "与目标流量比较"}};
    if (search.previous) {
        t.rows.push_back({Length(search.previous->depth), Decimal(search.previous->discharge, 6),
                          "≤ " + targetText + "，继续试算"});
        t.rowTones.push_back(Tone::Normal);
    }
    const bool exceeded = search.elements.discharge > target;
    t.rows.push_back({Length(search.elements.depth), Decimal(search.elements.discharge, 6),
                      exceeded ? "> " + targetText + "，首次超过，停止"
                               : "≤ " + targetText + "，渠深以内最后一步"});
    t.rowTones.push_back(Tone::Normal);
    doc.blocks.emplace_back(std::move(t));
    if (search.overflow) {
        doc.blocks.emplace_back(
            Paragraph{OverflowOf(s, search, target, flowName).sentence + "。", Tone::Fail});
    } else {
        doc.blocks.emplace_back(
            Paragraph{"成果水深 " + std::string(symbol) + " = " + Length(search.elements.depth) +
                      " + 0.001 = " + Decimal(search.reportedDepth, s.reportDecimals) + " m。"});
    }
}

void AddWorking(Document& doc, const Reach& reach) {
    const SearchOutcome& s = *reach.outcome.searches;
    doc.blocks.emplace_back(Heading{2, "三、计算过程"});
    AddSearch(doc, reach, s.design, reach.outcome.inputs.discharge, "1. 设计水深", "h", "设计流量");
    if (s.design.overflow) {
        doc.blocks.emplace_back(Paragraph{"设计水深已大于渠深，不再试算校核水深。", Tone::Note});
        return;
    }
    AddSearch(doc, reach, s.check, s.checkDischarge, "2. 校核水深", "h1", "校核流量");
    if (reach.minimum) {
        AddSearch(doc, reach, *reach.minimum, *reach.request.criteria.minDischarge,
                  "3. 最小流量水深", "hmin", "最小流量");
    }
}

void AddResults(Document& doc, const Reach& reach) {
    const USection& section = reach.section;
    const SearchOutcome& s = *reach.outcome.searches;
    doc.blocks.emplace_back(Heading{2, "四、计算成果"});
    if (s.design.overflow) {
        doc.blocks.emplace_back(
            Paragraph{"程序提示：" + std::string(reach.outcome.message().text), Tone::Fail});
        return;
    }
    const int d = section.reportDecimals;
    const bool check = !s.check.overflow;
    const FlowElements& de = s.design.elements;
    // The check search computes no width or velocity; they come from the same
    // design-kind formulas at its working depth.
    const FlowElements ce =
        check ? ComputeFlowElements(section, s.check.elements.depth, reach.outcome.inputs.bed(),
                                    SearchKind::Design)
              : FlowElements{};
    const FlowElements& cs = s.check.elements;
    // V at kQ as the checks take it: the check search's Q′/A at its step.
    const double checkVelocity = check ? CheckVelocity(s) : 0;
    const DepthSearchResult* minimum = reach.minimum ? &*reach.minimum : nullptr;
    const FlowElements me = minimum ? minimum->elements : FlowElements{};
    // One value per flow: Q, kQ, and Qmin where it is used.
    const auto values = [&](double design, double checkValue, double minimumValue, int decimals) {
        std::vector<std::string> v = {Decimal(design, decimals),
                                      check ? Decimal(checkValue, decimals) : "—"};
        if (minimum) {
            v.push_back(Decimal(minimumValue, decimals));
        }
        return v;
    };
    Table t{.header = {"项目", "符号", "设计流量", "校核流量"}, .formula = true};
    if (minimum) {
        t.header.push_back("最小流量");
    }
    t.header.push_back("单位");
    const auto row = [&t](std::string name, std::string symbol, std::vector<std::string> v,
                          std::string unit) {
        std::vector<std::string> cells = {std::move(name), std::move(symbol)};
        cells.insert(cells.end(), v.begin(), v.end());
        cells.push_back(std::move(unit));
        t.rows.push_back(std::move(cells));
    };
    row("流量", "Q",
        values(reach.outcome.inputs.discharge, s.checkDischarge,
               reach.request.criteria.minDischarge.value_or(0), 4),
        "m³/s");
    row("成果水深", "h、h1",
        values(s.design.reportedDepth, s.check.reportedDepth, minimum ? minimum->reportedDepth : 0,
               d),
        "m");
    row("计算水深", "h′", values(de.depth, cs.depth, me.depth, 3), "m");
    row("过水面积", "A", values(de.area, cs.area, me.area, d), "m²");
    row("湿周", "χ", values(de.wettedPerimeter, cs.wettedPerimeter, me.wettedPerimeter, d), "m");
    row("水力半径", "R", values(de.hydraulicRadius, cs.hydraulicRadius, me.hydraulicRadius, d),
        "m");
    row("谢才系数", "C", values(de.chezy, cs.chezy, me.chezy, d), "m^{1/2}/s");
    row("流速", "V", values(de.velocity, checkVelocity, me.velocity, 3), "m/s");
    row("水面宽度", "b", values(de.surfaceWidth, ce.surfaceWidth, me.surfaceWidth, d), "m");
    row("计算流量", "Q′", values(de.discharge, cs.discharge, me.discharge, 4), "m³/s");
    doc.blocks.emplace_back(std::move(t));
    doc.blocks.emplace_back(
        Paragraph{"注：h′ 为流量首次大于目标流量的水深，各水力要素均为该水深处"
                  "的数值，流速 V = Q′/A，与程序计算成果一致；成果水深 h = h′ + 0.001 m。",
                  Tone::Note});
    if (reach.outcome.isReport()) {
        doc.blocks.emplace_back(
            Paragraph{.text = "程序计算成果（与计算窗口显示一致）：", .keepWithNext = true});
        std::string text;
        for (const char c : reach.outcome.report().text) {
            if (c != '\r') {
                text += c;
            }
        }
        doc.blocks.emplace_back(Verbatim{std::move(text)});
    } else {
        doc.blocks.emplace_back(
            Paragraph{"程序提示：" + std::string(reach.outcome.message().text), Tone::Fail});
    }
}

std::string CriterionName(CriterionKind kind) {
    switch (kind) {
        case CriterionKind::MinFreeboard:
            return "安全超高 H − h1";
        case CriterionKind::MinVelocity:
            return "流速下限";
        case CriterionKind::MaxVelocity:
            return "流速上限";
    }
    return {};
}

std::string FlowName(CriterionFlow flow) {
    switch (flow) {
        case CriterionFlow::Design:
            return "设计流量 Q";
        case CriterionFlow::Check:
            return "校核流量 kQ";
        case CriterionFlow::Minimum:
            return "最小流量 Qmin";
    }
    return {};
}

// What a criterion is held against, with its flow, in words.
std::string CriterionSubject(const CriterionCheck& c) {
    return std::string(c.kind == CriterionKind::MinFreeboard ? "安全超高" : "流速") + "（" +
           FlowName(c.flow) + "）";
}

std::string CriterionValue(const CriterionCheck& c, int lengthDecimals) {
    return c.kind == CriterionKind::MinFreeboard ? Decimal(c.value, lengthDecimals) + " m"
                                                 : Decimal(c.value, kVelocityDecimals) + " m/s";
}

std::string CriterionLimit(const CriterionCheck& c) {
    return c.kind == CriterionKind::MinFreeboard ? "≥ " + Length(c.limit) + " m"
           : c.kind == CriterionKind::MinVelocity
               ? "≥ " + Decimal(c.limit, kVelocityDecimals) + " m/s"
               : "≤ " + Decimal(c.limit, kVelocityDecimals) + " m/s";
}

// "安全超高（校核流量 kQ）0.024 m，要求 ≥ 0.05 m"
std::string CriterionMissed(const CriterionCheck& c, int lengthDecimals) {
    return CriterionSubject(c) + CriterionValue(c, lengthDecimals) + "，要求 " + CriterionLimit(c);
}

// Why a reach does not serve, in a few words with its numbers.
std::string WhyNotServing(const Reach& reach) {
    const SearchOutcome& s = *reach.outcome.searches;
    if (s.design.overflow) {
        return OverflowOf(reach.section, s.design, reach.outcome.inputs.discharge, "设计流量")
            .sentence;
    }
    if (s.check.overflow) {
        return OverflowOf(reach.section, s.check, s.checkDischarge, "校核流量").sentence;
    }
    std::string why;
    for (const CriterionCheck& c : reach.criteria) {
        if (!c.passes) {
            why += (why.empty() ? "" : "；") + CriterionMissed(c, reach.section.reportDecimals);
        }
    }
    return why;
}

void AddChecks(Document& doc, const Reach& reach) {
    const USection& section = reach.section;
    const SearchOutcome& s = *reach.outcome.searches;
    const int d = section.reportDecimals;
    const std::string H = Length(section.channelDepth);
    doc.blocks.emplace_back(Heading{2, "五、校核"});
    Table t{.header = {"校核项目", "计算值", "要求", "结论"}};
    const auto row = [&t](std::string a, std::string b, std::string c, std::string verdict,
                          Tone tone) {
        t.rows.push_back({std::move(a), std::move(b), std::move(c), std::move(verdict)});
        t.rowTones.push_back(tone);
    };
    const auto verdict = [&row](std::string a, std::string b, std::string c, bool ok) {
        row(std::move(a), std::move(b), std::move(c), std::string(ok ? kPass : kFail),
            ok ? Tone::Pass : Tone::Fail);
    };
    const auto depth = [&](std::string name, const DepthSearchResult& search, double target,
                           std::string_view flowName) {
        if (!search.overflow) {
            verdict(std::move(name), Decimal(search.reportedDepth, d) + " m", "≤ H = " + H + " m",
                    true);
            return;
        }
        const Overflow o = OverflowOf(section, search, target, flowName);
        verdict(std::move(name), o.value, o.requirement, false);
    };
    depth("设计水深 h", s.design, reach.outcome.inputs.discharge, "设计流量");
    if (!s.design.overflow) {
        depth("校核水深 h1", s.check, s.checkDischarge, "校核流量");
    }
    if (reach.outcome.isReport()) {
        const double freeboard = section.channelDepth - s.check.reportedDepth;
        const CriterionCheck* given = nullptr;
        for (const CriterionCheck& c : reach.criteria) {
            if (c.kind == CriterionKind::MinFreeboard) {
                given = &c;
            }
        }
        if (given != nullptr) {
            verdict(CriterionName(given->kind), Decimal(freeboard, d) + " m",
                    CriterionLimit(*given), given->passes);
        } else {
            row("安全超高 H − h1", Decimal(freeboard, d) + " m", "未给定准则", "—", Tone::Normal);
        }
    }
    bool regime = false;
    if (!s.design.overflow) {
        const double froude = DesignFroudeNumber(section, s, reach.outcome.inputs.discharge);
        const bool calm = RegimeOf(froude) == FlowRegime::Subcritical;
        row("弗劳德数 Fr（设计水深 h，设计流量 Q）", Decimal(froude, views::kRatioDecimals),
            "Fr < 1 为缓流", calm ? "缓流" : "急流", Tone::Normal);
        const auto critical = CriticalDepth(section, reach.outcome.inputs.discharge);
        row("临界水深 hk（设计流量 Q）", critical ? Length(*critical) + " m" : "高于渠深",
            "h > hk 为缓流", "—", Tone::Normal);
        regime = true;
    }
    if (reach.outcome.isReport()) {
        for (const CriterionCheck& c : reach.criteria) {
            if (c.kind == CriterionKind::MinFreeboard) {
                continue;
            }
            verdict(CriterionName(c.kind) + " V（" + FlowName(c.flow) + "）",
                    Decimal(c.value, kVelocityDecimals) + " m/s", CriterionLimit(c), c.passes);
        }
    }
    doc.blocks.emplace_back(std::move(t));
    if (regime) {
        doc.blocks.emplace_back(Paragraph{
            .text = "注：Fr = V/√(g·A/b)，V = Q/A，A、b 取设计水深 h 处的数值，g = 9.81 m/s²；"
                    "临界水深 hk 满足 Q²·b/(g·A³) = 1（A、b 取 hk 处的数值，二分法求解，精度 "
                    "0.000001 m）。安全超高与流速准则按报告的舍入（安全超高 " +
                    std::to_string(d) + " 位小数，流速 3 位小数）比较。",
            .tone = Tone::Note,
            .formula = true});
    }
}

void AddConclusion(Document& doc, const Reach& reach) {
    const std::string name = SizeLabel(reach.section);
    const SearchOutcome& s = *reach.outcome.searches;
    doc.blocks.emplace_back(Heading{2, "六、结论"});
    if (!reach.serves) {
        doc.blocks.emplace_back(
            Paragraph{name + "不满足设计要求：" + WhyNotServing(reach) + "。", Tone::Fail});
        if (reach.smallestFit) {
            doc.blocks.emplace_back(Paragraph{
                "按相同输入" + std::string(reach.request.criteria.empty() ? "" : "与设计准则") +
                "选型，满足要求的最小" +
                (reach.smallestFit->userDefined ? "断面为自定义断面" : "标准断面为") +
                SizeLabel(*reach.smallestFit) + "。"});
        } else {
            doc.blocks.emplace_back(
                Paragraph{reach.request.fitAmong.userCount() > 0
                              ? "按相同输入选型，五种标准断面与自定义断面均不满足要求。"
                              : "按相同输入选型，五种标准断面均不满足要求。",
                          Tone::Fail});
        }
        return;
    }
    const int d = reach.section.reportDecimals;
    const std::string depths = "设计水深 h = " + Decimal(s.design.reportedDepth, d) +
                               " m、校核水深 h1 = " + Decimal(s.check.reportedDepth, d) +
                               " m，均不超过渠深 H = " + Length(reach.section.channelDepth) + " m";
    const std::string flows = name + "能通过设计流量 Q = " + Flow(reach.outcome.inputs.discharge) +
                              " m³/s 与校核流量 kQ = " + Flow(s.checkDischarge) + " m³/s：";
    std::string given;
    std::string missing;
    const DesignCriteria& c = reach.request.criteria;
    const std::pair<bool, std::string_view> kinds[] = {
        {c.minFreeboard.has_value(), "安全超高"},
        {c.minVelocity.has_value(), "流速下限"},
        {c.maxVelocity.has_value(), "流速上限"},
    };
    for (const auto& [has, label] : kinds) {
        std::string& list = has ? given : missing;
        list += (list.empty() ? "" : "、") + std::string(label);
    }
    // Supercritical flow is said whatever the criteria: its transitions
    // and energy dissipation are another check.
    const double froude = DesignFroudeNumber(reach.section, s, reach.outcome.inputs.discharge);
    const auto supercritical = [&] {
        if (RegimeOf(froude) == FlowRegime::Supercritical) {
            doc.blocks.emplace_back(
                Paragraph{"设计水深处 Fr = " + Decimal(froude, views::kRatioDecimals) +
                              " ≥ 1，为急流；急流渠段的衔接与消能须另行校核。",
                          Tone::Note});
        }
    };
    if (reach.criteria.empty()) {
        doc.blocks.emplace_back(Paragraph{flows + depths + "。"});
        doc.blocks.emplace_back(Paragraph{
            "未给定安全超高与流速准则，未作相应校核；本计算书不对设计准则作出判定。", Tone::Note});
        supercritical();
        return;
    }
    doc.blocks.emplace_back(Paragraph{
        flows + depths + "；给定的设计准则（" + given + "）均满足，满足设计要求。", Tone::Pass});
    if (!missing.empty()) {
        doc.blocks.emplace_back(Paragraph{"未给定" + missing + "准则，未作校核。", Tone::Note});
    }
    supercritical();
}

void AddDrawing(Document& doc, const Reach& reach) {
    const SheetRequest& r = reach.request;
    doc.blocks.emplace_back(Heading{2, "七、断面图"});
    const std::string title =
        SizeLabel(reach.section) + "  " + InputsTitle(r.discharge, r.slope, r.roughness, r.factor);
    doc.blocks.emplace_back(
        Drawing{CrossSectionSvg({PanelFor(reach.section, reach.outcome)}, title)});
}

void AddSheet(Document& doc, const Reach& reach) {
    AddTitle(doc, reach.request);
    if (reach.rejected) {
        AddRejection(doc, reach);
        return;
    }
    AddKnownData(doc, reach);
    AddMethod(doc, reach.section);
    AddWorking(doc, reach);
    AddResults(doc, reach);
    AddChecks(doc, reach);
    AddConclusion(doc, reach);
    AddDrawing(doc, reach);
    doc.blocks.emplace_back(SignatureTable(reach.request.reach));
}

std::string DocumentTitle(const SheetRequest& r) {
    std::string title(TitleFor(*r.section));
    if (!r.reach.channel.empty()) {
        title += " — " + r.reach.channel;
    }
    return title;
}

// The summary's verdict: met, not met with why, or, where no criterion was
// given, only that the depths are within the channel.
std::string SummaryVerdict(const Reach& reach) {
    if (!reach.serves) {
        const SearchOutcome& s = *reach.outcome.searches;
        std::string why;
        if (s.design.overflow || s.check.overflow) {
            why = views::DepthAboveChannel(reach.outcome.message().number);
        } else {
            for (const CriterionCheck& c : reach.criteria) {
                if (!c.passes) {
                    why += (why.empty() ? "" : "；") + CriterionName(c.kind) + " " +
                           CriterionValue(c, reach.section.reportDecimals) + "，要求 " +
                           CriterionLimit(c);
                }
            }
        }
        return std::string(kFail) + "：" + why;
    }
    return reach.criteria.empty() ? "水深未超渠深（未给准则）" : std::string(kPass);
}

// A reach's row of the canal summary.
std::vector<std::string> SummaryRow(std::size_t number, const Reach& reach) {
    const SheetRequest& r = reach.request;
    std::vector<std::string> row = {std::to_string(number), r.reach.channel, r.reach.station,
                                    std::string(r.section->name)};
    const CalculationOutcome& o = reach.outcome;
    const int d = reach.section.reportDecimals;
    if (reach.rejected) {
        row.insert(row.end(), 6, "");
        row.push_back("输入被拒绝：" + std::string(o.message().text));
        return row;
    }
    const SearchOutcome& s = *o.searches;
    const bool design = !s.design.overflow;
    const bool both = o.isReport();
    row.push_back(Flow(o.inputs.discharge));
    row.push_back(Flow(s.checkDischarge));
    row.push_back(design ? Decimal(s.design.reportedDepth, d) : "> H");
    row.push_back(both ? Decimal(s.check.reportedDepth, d) : design ? "> H" : "");
    row.push_back(design ? Decimal(s.design.elements.velocity, kVelocityDecimals) : "");
    row.push_back(both ? Decimal(reach.section.channelDepth - s.check.reportedDepth, d) : "");
    row.push_back(SummaryVerdict(reach));
    return row;
}

}  // namespace

// The title block: every field in its place, an empty one left blank to be
// filled in by hand.
Table TitleBlock(const ReachDetails& r) {
    return Table{.rows = {{"工程名称", r.project, "设计单位", r.unit},
                          {"设计阶段", r.stage, "计算书编号", r.number},
                          {"渠道名称", r.channel, "桩号", r.station}},
                 .wide = true};
}

Signatures SignatureTable(const ReachDetails& r) {
    return Signatures{.lines = {{"计算", r.designer, r.date},
                                {"校核", r.checker, r.checkDate},
                                {"审核", r.approver, r.approveDate}}};
}

Document BuildSheet(const SheetRequest& request) {
    Document doc{.title = DocumentTitle(request)};
    AddSheet(doc, Evaluate(request));
    return doc;
}

bool BuildCanal(const std::vector<CanalRow>& rows, DocumentSink& sink) {
    // The blocks before the reaches' sheets: the title, the project and the summary.
    Document head;
    const bool anyUsers = std::any_of(rows.begin(), rows.end(), [](const CanalRow& row) {
        return !row.problem && row.request.section->userDefined;
    });
    head.blocks.emplace_back(Heading{1, std::string(anyUsers ? kUserTitle : kTitle)});
    // The whole canal's title block: the document's details (the first
    // reach that has a project names it); a reach's name and chainage are
    // its own sheet's.
    ReachDetails canal;
    for (const CanalRow& row : rows) {
        if (!row.problem) {
            canal = row.request.reach;
            if (!canal.project.empty()) {
                break;
            }
        }
    }
    canal.channel.clear();
    canal.station.clear();
    head.blocks.emplace_back(TitleBlock(canal));
    head.blocks.emplace_back(Heading{2, "渠段汇总"});
    Table summary{.header = {"序号", "渠道名称", "桩号", "断面", "Q (m³/s)", "kQ (m³/s)", "h (m)",
                             "h1 (m)", "V (m/s)", "超高 (m)", "结论"}};
    std::vector<Reach> reaches;
    reaches.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CanalRow& row = rows[i];
        if (row.problem) {
            std::vector<std::string> cells = {std::to_string(i + 1), row.request.reach.channel,
                                              row.request.reach.station};
            cells.insert(cells.end(), 7, "");
            // Numbered as the other rows; the file's line is said as such.
            cells.push_back("未计算：" +
                            views::RowProblemReason(row.problem, views::Language::Chinese) +
                            "（文件第 " + std::to_string(row.problem.line) + " 行）");
            summary.rows.push_back(std::move(cells));
            summary.rowTones.push_back(Tone::Fail);
            continue;
        }
        reaches.push_back(Evaluate(row.request));
        summary.rows.push_back(SummaryRow(i + 1, reaches.back()));
        summary.rowTones.push_back(reaches.back().serves ? Tone::Normal : Tone::Fail);
    }
    head.blocks.emplace_back(std::move(summary));
    // A reach whose texts the calculation refuses is not calculated either.
    const auto calculated = static_cast<std::size_t>(
        std::count_if(reaches.begin(), reaches.end(), [](const Reach& r) { return !r.rejected; }));
    head.blocks.emplace_back(Paragraph{
        "共 " + std::to_string(rows.size()) + " 行，计算 " + std::to_string(calculated) + " 段。",
        Tone::Note});
    const auto hand = [&sink](Document& part) {
        for (const Block& block : part.blocks) {
            if (!sink.Add(block)) {
                return false;
            }
        }
        part.blocks.clear();
        return true;
    };
    if (!sink.Begin(std::string(kTitle)) || !hand(head)) {
        return false;
    }
    Document part;
    for (const Reach& reach : reaches) {
        part.blocks.emplace_back(PageBreak{});
        AddSheet(part, reach);
        if (!hand(part)) {
            return false;
        }
    }
    return true;
}

Document BuildCanal(const std::vector<CanalRow>& rows) {
    // The blocks gathered whole, for the page of a few reaches and the PDF.
    struct Gather final : DocumentSink {
        Document doc;
        bool Begin(const std::string& title) override {
            doc.title = title;
            return true;
        }
        bool Add(const Block& block) override {
            doc.blocks.push_back(block);
            return true;
        }
    } gather;
    BuildCanal(rows, gather);
    return std::move(gather.doc);
}

}  // namespace veltrane::sheet
