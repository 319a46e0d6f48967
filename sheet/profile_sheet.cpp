// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/profile_sheet.h"

#include <algorithm>

#include "canal/water_surface.h"
#include "sheet/profile_svg.h"
#include "views/numbers.h"
#include "views/profile_words.h"

namespace veltrane::sheet {

namespace {

using canal::FlowKind;
using views::Language;

constexpr std::string_view kTitle = "渠道水面线计算书";

std::string M(double v, int decimals = 3) {
    return views::Decimal(v, decimals);
}

std::string Name(const ProfileSheetRequest& r, std::size_t reach) {
    return r.canal.reaches[reach].name;
}

std::string FlowTitle(const canal::FlowProfile& flow) {
    return flow.kind == FlowKind::Design
               ? std::string(views::FlowName(flow.kind, Language::Chinese)) + " Q"
               : std::string(views::FlowName(flow.kind, Language::Chinese)) +
                     " kQ（k = " + views::Decimal(flow.factor, 2) + "）";
}

std::string EndText(const canal::CanalRequest& r) {
    switch (r.end.kind) {
        case canal::EndCondition::Normal:
            return "末渠段均匀流（正常水深）";
        case canal::EndCondition::Critical:
            return "自由跌落（末端临界水深）";
        case canal::EndCondition::Level:
            return "给定水位 " + M(r.end.level) + " m（低于临界水深水位时取临界水深）";
    }
    return {};
}

void AddKnownData(Document& doc, const ProfileSheetRequest& r, const std::string& note) {
    doc.blocks.emplace_back(Heading{2, "一、基本资料"});
    Table reaches{.header = {"序号", "渠段", "长度 (m)", "断面", "纵坡", "糙率 n",
                             "设计流量 Q (m³/s)", "起点渠底高程 (m)", "局部损失系数 ξ",
                             "要求水位 (m)"}};
    const std::vector<canal::BedLevels> beds = canal::BedLevelsOf(r.canal);
    for (std::size_t i = 0; i < r.canal.reaches.size(); ++i) {
        const canal::Reach& reach = r.canal.reaches[i];
        reaches.rows.push_back({std::to_string(i + 1), reach.name, views::Decimal(reach.length, 3),
                                reach.sizeName, "1/" + views::Decimal(reach.slope, 3),
                                views::Decimal(reach.roughness, 4),
                                views::Decimal(reach.discharge, views::kDischargeDecimals),
                                M(beds[i].head) + (reach.bed ? "" : "（接上段）"),
                                reach.loss ? views::Decimal(*reach.loss, 3) : "—",
                                reach.level ? M(*reach.level) : "—"});
    }
    doc.blocks.emplace_back(std::move(reaches));
    // The user's sections the reaches name: a checker reads their
    // dimensions here, as given, since no catalogue defines them.
    Table own{.header = {"断面", "底弧半径 r (m)", "直墙倾角 α (°)", "渠深 H (m)", "渠口宽 B (cm)",
                         "板厚 δ (cm)"}};
    std::vector<const USection*> listed;
    for (const canal::Reach& reach : r.canal.reaches) {
        const USection* s = reach.section.get();
        if (s == nullptr || !s->userDefined ||
            std::find(listed.begin(), listed.end(), s) != listed.end()) {
            continue;
        }
        listed.push_back(s);
        const SectionDimensions& d = s->dimensions;
        own.rows.push_back({std::string(s->name), views::Decimal(s->radius, 5),
                            std::string(d.angleDeg), views::Decimal(s->channelDepth, 5),
                            std::string(d.topWidthCm) + (s->topWidthComputed ? "（算得）" : ""),
                            d.slabCm.empty() ? "未给定" : std::string(d.slabCm)});
    }
    if (!own.rows.empty()) {
        doc.blocks.emplace_back(
            Paragraph{"自定义断面（尺寸由设计人给定；渠口宽未给定者按 "
                      "B = 2[r cos α + (H − t) tan α] 算得，"
                      "t = r(1 − sin α) 为切点深度）："});
        doc.blocks.emplace_back(std::move(own));
    }
    Table conditions{.keyValue = true};
    conditions.rows = {{"加大系数 k", views::Decimal(r.canal.factor, 2)},
                       {"下游边界", EndText(r.canal)},
                       {"计算断面间距", M(r.canal.spacing) + " m（自渠首起算）"},
                       {"最小安全超高（加大流量）",
                        r.canal.minFreeboard ? M(*r.canal.minFreeboard) + " m" : "未给定"}};
    doc.blocks.emplace_back(std::move(conditions));
    if (!note.empty()) {
        doc.blocks.emplace_back(Paragraph{note, Tone::Note});
    }
}

// The parts, from the known data to the conclusion.
void AddParts(Document& doc, const ProfileSheetRequest& request, const canal::CanalProfile& profile,
              const std::string& note);

void AddMethod(Document& doc) {
    doc.blocks.emplace_back(Heading{2, "二、计算方法"});
    const char* lines[] = {
        "采用分段求和法（标准步长法），由能量方程逐段推求：",
        "z₁ + h₁ + v₁^{2}/2g = z₂ + h₂ + v₂^{2}/2g + Δl (J₁ + J₂)/2，J = n^{2} v^{2} / R^{4/3}，"
        "g = 9.81 m/s^{2}，动能修正系数取 1。",
        "缓流自下游控制断面向上游推算，急流自上游控制断面向下游推算；陡坡渠段首端"
        "（上接缓坡渠段或渠首）取临界水深。每一步长对分至再对分时水深变化小于 0.05 mm，"
        "水面线误差小于 1 mm。",
        "渠段衔接处按能量方程计算，局部水头损失为 ξ|v₂^{2} − v₁^{2}|/2g（ξ 属下游渠段），"
        "两侧各按本渠段流量计；上游渠段取临界水深以上的最大根，无解时（跌水尾水低于临界"
        "水深水位或壅塞）上游渠段末端取临界水深。",
        "急流与缓流相遇时，在两者水跃函数（比力）相等处发生水跃。",
        "正常水深按曼宁公式求根，精确至 10^{-10} m；“程序逐毫米试算水深”为计算窗口按 1 mm "
        "步长试算所报水深（流量首次超过 Q 的一步之后的水深），较正常水深大 1～2 mm。",
        "断面为圆弧底、两侧直墙与圆弧相切的U形断面，按实际几何计算（π 取双精度值），"
        "渠深以上按直墙延长计。"};
    for (const char* line : lines) {
        doc.blocks.emplace_back(Paragraph{.text = line, .formula = true});
    }
}

void AddReachFlows(Document& doc, const ProfileSheetRequest& r, const canal::CanalProfile& p) {
    doc.blocks.emplace_back(Heading{2, "三、各渠段正常水深与临界水深"});
    Table t{.header = {"渠段", "流量", "Q (m³/s)", "正常水深 h₀ (m)", "逐毫米试算水深 (m)",
                       "临界水深 hₖ (m)", "坡型"}};
    for (const canal::FlowProfile& flow : p.flows) {
        for (std::size_t i = 0; i < flow.reaches.size(); ++i) {
            const canal::ReachFlow& f = flow.reaches[i];
            t.rows.push_back(
                {Name(r, i), std::string(views::FlowName(flow.kind, Language::Chinese)),
                 views::Decimal(f.discharge, views::kDischargeDecimals), M(f.normalDepth),
                 f.steppedDepth      ? M(*f.steppedDepth)
                 : f.steppedAboveTop ? "高于渠深"
                                     : "—",
                 M(f.criticalDepth), f.steep ? "陡坡" : "缓坡"});
        }
    }
    doc.blocks.emplace_back(std::move(t));
}

void AddStations(Document& doc, const ProfileSheetRequest& r, const canal::CanalProfile& p) {
    doc.blocks.emplace_back(Heading{2, "四、水面线计算成果"});
    for (const canal::FlowProfile& flow : p.flows) {
        doc.blocks.emplace_back(Heading{3, FlowTitle(flow)});
        Table t{.header = {"桩号", "渠段", "渠底高程 (m)", "水深 h (m)", "水位 (m)", "流速 v (m/s)",
                           "Fr", "能量高程 (m)", "渠顶高程 (m)", "超高 (m)", "曲线"}};
        for (const canal::Station& s : flow.stations) {
            t.rows.push_back({views::ChainageText(s.chainage), Name(r, s.reach), M(s.bed),
                              M(s.depth), M(s.level), M(s.velocity), views::Decimal(s.froude, 2),
                              M(s.energy), M(s.top), M(s.freeboard),
                              std::string(views::CurveTypeName(s.type, Language::Chinese))});
            t.rowTones.push_back(s.freeboard < 0 ? Tone::Fail : Tone::Normal);
        }
        doc.blocks.emplace_back(std::move(t));
        for (const canal::Jump& j : flow.jumps) {
            doc.blocks.emplace_back(Paragraph{"水跃：" + Name(r, j.reach) + "，桩号 " +
                                              views::ChainageText(j.chainage) + "，跃前水深 " +
                                              M(j.upstreamDepth) + " m，跃后水深 " +
                                              M(j.downstreamDepth) + " m。"});
        }
    }
    doc.blocks.emplace_back(Paragraph{
        "曲线类型：M 为缓坡、S 为陡坡、C 为临界坡；1 区水深大于正常水深与临界水深，2 区介于"
        "两者之间，3 区小于两者；“均匀流”为与正常水深相差不超过 1 mm。",
        Tone::Note});
}

void AddChecks(Document& doc, const ProfileSheetRequest& r, const canal::CanalProfile& p) {
    doc.blocks.emplace_back(Heading{2, "六、校核"});
    Table t{.header = {"项目", "位置", "结果"}};
    const auto where = [&](const canal::Stretch& s) {
        return Name(r, s.reach) + " " + views::ChainageText(s.from) + " ～ " +
               views::ChainageText(s.to);
    };
    for (const canal::Stretch& s : p.checks.overtopped) {
        t.rows.push_back({std::string(views::FlowName(s.flow, Language::Chinese)) + "水位与渠顶",
                          where(s), "水位高出渠顶，最大 " + M(-s.worst) + " m，不满足"});
        t.rowTones.push_back(Tone::Fail);
    }
    if (p.checks.overtopped.empty()) {
        t.rows.push_back({"水位与渠顶", "全渠", "设计、加大流量水位均不高于渠顶，满足"});
        t.rowTones.push_back(Tone::Pass);
    }
    if (r.canal.minFreeboard) {
        for (const canal::Stretch& s : p.checks.shortFreeboard) {
            t.rows.push_back(
                {"加大流量安全超高", where(s),
                 "最小 " + M(s.worst) + " m，小于 " + M(*r.canal.minFreeboard) + " m，不满足"});
            t.rowTones.push_back(Tone::Fail);
        }
        if (p.checks.shortFreeboard.empty()) {
            t.rows.push_back(
                {"加大流量安全超高", "全渠", "均不小于 " + M(*r.canal.minFreeboard) + " m，满足"});
            t.rowTones.push_back(Tone::Pass);
        }
    }
    for (const canal::TurnoutCheck& c : p.checks.turnouts) {
        t.rows.push_back({"分水口要求水位", Name(r, c.reach) + " 起点",
                          "设计水位 " + M(c.level) + " m，要求 " + M(c.required) + " m，" +
                              (c.met ? "满足" : "不满足")});
        t.rowTones.push_back(c.met ? Tone::Pass : Tone::Fail);
    }
    doc.blocks.emplace_back(std::move(t));
}

void AddConclusion(Document& doc, const canal::CanalProfile& p) {
    doc.blocks.emplace_back(Heading{2, "七、结论"});
    if (p.checks.ok()) {
        doc.blocks.emplace_back(
            Paragraph{"设计流量与加大流量的水面线均在渠顶以下，所列各项校核均满足。", Tone::Pass});
        return;
    }
    doc.blocks.emplace_back(Paragraph{
        "校核不满足（见上表标红各项），须调整断面、纵坡或控制水位后重新计算。", Tone::Fail});
}

void AddParts(Document& doc, const ProfileSheetRequest& request, const canal::CanalProfile& profile,
              const std::string& note) {
    AddKnownData(doc, request, note);
    AddMethod(doc);
    AddReachFlows(doc, request, profile);
    AddStations(doc, request, profile);
    doc.blocks.emplace_back(Heading{2, "五、纵断面图"});
    doc.blocks.emplace_back(
        Drawing{.svg = LongitudinalProfileSvg(request.canal, profile, ProfilePaper::Portrait),
                .printedWidth = 1});
    AddChecks(doc, request, profile);
    AddConclusion(doc, profile);
}

}  // namespace

Document BuildProfileSheet(const ProfileSheetRequest& request, const canal::CanalProfile& profile) {
    Document doc{.title = std::string(kTitle)};
    doc.blocks.emplace_back(Heading{1, std::string(kTitle)});
    doc.blocks.emplace_back(TitleBlock(request.details));
    doc.blocks.emplace_back(Heading{3, "计算依据"});
    if (request.basis.empty()) {
        doc.blocks.emplace_back(Paragraph{"未给定。", Tone::Note});
    }
    for (std::size_t i = 0; i < request.basis.size(); ++i) {
        doc.blocks.emplace_back(Paragraph{std::to_string(i + 1) + ". " + request.basis[i]});
    }
    AddParts(doc, request, profile, {});
    doc.blocks.emplace_back(SignatureTable(request.details));
    return doc;
}

std::vector<Block> ProfileChapter(const canal::CanalRequest& request,
                                  const canal::CanalProfile& profile, const std::string& note) {
    Document doc;
    doc.blocks.emplace_back(PageBreak{});
    doc.blocks.emplace_back(Heading{1, "水面线推求"});
    AddParts(doc, {.canal = request}, profile, note);
    return std::move(doc.blocks);
}

}  // namespace veltrane::sheet
