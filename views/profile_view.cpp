// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/profile_view.h"

#include "views/numbers.h"
#include "views/profile_words.h"

namespace veltrane::views {

std::vector<std::string_view> StationHeadings() {
    std::vector<std::string_view> headings;
    for (std::size_t c = 1; c < kStationColumns.size(); ++c) {  // not the flow
        headings.push_back(kStationColumns[c].key == "chainage" ? "桩号"
                                                                : kStationColumns[c].chinese);
    }
    return headings;
}

std::vector<std::string> StationCells(const canal::CanalRequest& request, const canal::Station& s) {
    return {request.reaches[s.reach].name,
            ChainageText(s.chainage),
            Decimal(s.bed, 3),
            Decimal(s.depth, 3),
            Decimal(s.level, 3),
            Decimal(s.velocity, 3),
            Decimal(s.froude, 2),
            Decimal(s.energy, 3),
            Decimal(s.top, 3),
            Decimal(s.freeboard, 3),
            std::string(CurveTypeName(s.type, Language::Chinese))};
}

std::vector<std::string> CheckLines(const canal::CanalRequest& request,
                                    const canal::CanalProfile& p) {
    std::vector<std::string> lines;
    const auto name = [&](std::size_t i) { return request.reaches[i].name; };
    const auto range = [](const canal::Stretch& s) {
        return ChainageText(s.from) + " ～ " + ChainageText(s.to);
    };
    for (const canal::Stretch& s : p.checks.overtopped) {
        lines.push_back(std::string(FlowName(s.flow, Language::Chinese)) + "水位高出渠顶：" +
                        name(s.reach) + " " + range(s) + "，最大 " + Decimal(-s.worst, 3) + " m");
    }
    for (const canal::Stretch& s : p.checks.shortFreeboard) {
        lines.push_back("加大流量安全超高不足：" + name(s.reach) + " " + range(s) + "，最小 " +
                        Decimal(s.worst, 3) + " m");
    }
    for (const canal::TurnoutCheck& t : p.checks.turnouts) {
        lines.push_back(name(t.reach) + " 起点设计水位 " + Decimal(t.level, 3) + " m，要求 " +
                        Decimal(t.required, 3) + " m：" + (t.met ? "满足" : "不满足"));
    }
    lines.push_back(p.checks.ok() ? "水面线均在渠顶以下，各项校核满足。" : "校核不满足。");
    return lines;
}

}  // namespace veltrane::views
