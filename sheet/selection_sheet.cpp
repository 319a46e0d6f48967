// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/selection_sheet.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "hydraulics/number_rules.h"
#include "sheet/chart_svg.h"
#include "sheet/markup.h"
#include "sheet/section_svg.h"
#include "views/numbers.h"

namespace veltrane::sheet {

namespace {

constexpr double kWidth = 640;
constexpr double kHeight = 400;
constexpr double kLeft = 70, kRight = 80, kTop = 50, kBottom = 50;
// The five standard sections' colours first; a catalogue's sections take
// the rest in turn, dashed once the colours come round again.
constexpr std::array<const char*, 10> kColours = {"#1f78b4", "#33a02c", "#e31a1c", "#ff7f00",
                                                  "#6a3d9a", "#b15928", "#a6761d", "#1b9e77",
                                                  "#e7298a", "#666666"};

std::string Capacity(const CapacityResult& c) {
    if (c.rejected) {
        return std::string(c.rejected->text);
    }
    if (!c.discharge) {
        return "—";
    }
    // The search stopped at its limit, which still serves.
    return (c.atSearchLimit ? "≥ " : "") + views::Decimal(*c.discharge, views::kDischargeDecimals);
}

}  // namespace

std::string SelectionChartSvg(const std::vector<SelectionRow>& rows, const std::string& title) {
    double top = 0;
    long least = 0;
    long most = 0;
    for (const SelectionRow& row : rows) {
        least = least == 0 ? row.slope : std::min(least, row.slope);
        most = std::max(most, row.slope);
        for (const CapacityResult& c : row.sections) {
            top = std::max(top, c.discharge.value_or(0));
        }
    }
    const double step = TickStep(top > 0 ? top : 1);
    top = std::ceil((top > 0 ? top : 1) / step) * step;
    const double lx = std::log10(static_cast<double>(std::max(least, 1L)));
    const double hx = std::log10(static_cast<double>(std::max(most, least + 1)));
    const double plotW = kWidth - kLeft - kRight;
    const double plotH = kHeight - kTop - kBottom;
    const auto X = [&](long slope) {
        return kLeft + (std::log10(static_cast<double>(slope)) - lx) / (hx - lx) * plotW;
    };
    const auto Y = [&](double q) { return kTop + plotH - q / top * plotH; };

    std::string out = BeginChart(kWidth, kHeight, title);
    out += ChartLine(kLeft, kTop, kLeft, kTop + plotH) +
           ChartLine(kLeft, kTop + plotH, kLeft + plotW, kTop + plotH);
    for (double q = 0; q <= top + step / 2; q += step) {
        out += ChartLine(kLeft - 4, Y(q), kLeft, Y(q));
        out +=
            ChartLine(kLeft, Y(q), kLeft + plotW, Y(q), " stroke=\"#000\" stroke-opacity=\"0.15\"");
        ChartText(out, kLeft - 7, Y(q) + 4, TickNumber(q), "end", 11);
    }
    for (const SelectionRow& row : rows) {
        out += ChartLine(X(row.slope), kTop + plotH, X(row.slope), kTop + plotH + 4);
        ChartText(out, X(row.slope), kTop + plotH + 17, "1/" + std::to_string(row.slope), "middle",
                  11);
    }
    ChartText(out, kLeft + plotW / 2, kHeight - 10, "纵坡 i（对数刻度）", "middle", 12);
    ChartText(out, 16, kTop - 12, "Q (m³/s)", "start", 12);
    const std::size_t columns = rows.front().sections.size();
    for (std::size_t s = 0; s < columns; ++s) {
        std::string points;
        double lastX = 0;
        double lastY = 0;
        for (const SelectionRow& row : rows) {
            if (const auto q = row.sections[s].discharge) {
                lastX = X(row.slope);
                lastY = Y(*q);
                points += (points.empty() ? "" : " ") + SvgNumber(lastX) + "," + SvgNumber(lastY);
            }
        }
        if (points.empty()) {
            continue;
        }
        const USection& section = *rows.front().sections[s].section;
        const char* colour = kColours[s % kColours.size()];
        const char* dashes = s >= kColours.size() ? " stroke-dasharray=\"6,3\"" : "";
        out += "<polyline id=\"capacity-" + SvgIdOf(section) + "\" points=\"" + points +
               "\" fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"2\"" + dashes + "/>\n";
        ChartText(out, lastX + 6, lastY + 4, std::string(section.name), "start", 12, colour);
    }
    return out + EndChart();
}

Document BuildSelectionSheet(const std::vector<SelectionRow>& rows, const std::string& roughness,
                             const std::string& factor, const DesignCriteria& criteria,
                             const std::string& date) {
    Document doc{.title = "装配式U形渠道选型表"};
    doc.blocks.emplace_back(Heading{1, "装配式U形渠道选型表"});
    if (!date.empty()) {
        doc.blocks.emplace_back(Table{.rows = {{"日　　期：", date}}, .keyValue = true});
    }
    std::string conditions = "糙率 n = " + roughness + "，加大系数 k = " + factor;
    if (criteria.minFreeboard) {
        conditions += "，安全超高不小于 " +
                      views::Decimal(*criteria.minFreeboard, views::kLengthDecimals) + " m";
    }
    if (criteria.minVelocity) {
        conditions += "，流速不小于 " +
                      views::Decimal(*criteria.minVelocity, views::kVelocityDecimals) + " m/s";
    }
    if (criteria.maxVelocity) {
        conditions += "，流速不大于 " +
                      views::Decimal(*criteria.maxVelocity, views::kVelocityDecimals) + " m/s";
    }
    doc.blocks.emplace_back(Paragraph{"计算条件：" + conditions + "。"});
    Table table{.header = {"纵坡 i"}};
    for (const CapacityResult& c : rows.front().sections) {
        table.header.push_back(std::string(c.section->sizeLabel));
    }
    for (const SelectionRow& row : rows) {
        std::vector<std::string> cells = {"1/" + std::to_string(row.slope)};
        for (const CapacityResult& c : row.sections) {
            cells.push_back(Capacity(c));
        }
        table.rows.push_back(std::move(cells));
    }
    doc.blocks.emplace_back(std::move(table));
    doc.blocks.emplace_back(Paragraph{
        "表中为各断面在该纵坡下能通过的最大设计流量（m³/s，精确至 0.0001）：以该流量按程序"
        "计算，设计水深与校核水深均不大于渠深并满足所给准则；再加 0.0001 m³/s 即不满足。"
        "“—”表示该纵坡下无满足要求的流量。",
        Tone::Note});
    doc.blocks.emplace_back(Heading{2, "流量—纵坡关系图"});
    doc.blocks.emplace_back(Drawing{SelectionChartSvg(rows, "各断面最大设计流量")});
    doc.blocks.emplace_back(
        Signatures{.lines = {{.role = "计算", .date = date}, {.role = "校核"}, {.role = "审核"}}});
    return doc;
}

}  // namespace veltrane::sheet
