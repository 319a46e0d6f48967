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

std::vector<std::string> SelectionHeadings(const std::vector<SelectionRow>& rows) {
    std::vector<std::string> headings = {"纵坡 i"};
    for (const CapacityResult& c : rows.front().sections) {
        headings.push_back(std::string(c.section->sizeLabel));
    }
    return headings;
}

std::vector<std::string> SelectionCells(const SelectionRow& row) {
    std::vector<std::string> cells = {"1/" + std::to_string(row.slope)};
    for (const CapacityResult& c : row.sections) {
        cells.push_back(Capacity(c));
    }
    return cells;
}

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
    // Each line's name at its last point; names that would stand on one
    // another are moved apart, keeping their order.
    struct Label {
        double x, y;
        std::string name;
        const char* colour;
    };
    std::vector<Label> labels;
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
        labels.push_back({lastX + 6, lastY + 4, std::string(section.name), colour});
    }
    std::stable_sort(labels.begin(), labels.end(),
                     [](const Label& a, const Label& b) { return a.y < b.y; });
    constexpr double kLabelGap = 13;  // px between baselines of 12 px labels
    for (std::size_t i = 1; i < labels.size(); ++i) {
        for (std::size_t k = 0; k < i; ++k) {
            if (std::abs(labels[k].x - labels[i].x) < 80 && labels[i].y - labels[k].y < kLabelGap) {
                labels[i].y = labels[k].y + kLabelGap;
            }
        }
    }
    // Moved down past the axis, the names go back up together.
    const double lowest = kTop + plotH + 4;
    if (!labels.empty() && labels.back().y > lowest) {
        labels.back().y = lowest;
        for (std::size_t i = labels.size() - 1; i-- > 0;) {
            if (std::abs(labels[i].x - labels[i + 1].x) < 80) {
                labels[i].y = std::min(labels[i].y, labels[i + 1].y - kLabelGap);
            }
        }
    }
    for (const Label& l : labels) {
        ChartText(out, l.x, l.y, l.name, "start", 12, l.colour);
    }
    return out + EndChart();
}

Document BuildSelectionSheet(const std::vector<SelectionRow>& rows, const std::string& roughness,
                             const std::string& factor, const DesignCriteria& criteria,
                             const std::string& date) {
    const bool anyUsers =
        std::any_of(rows.front().sections.begin(), rows.front().sections.end(),
                    [](const CapacityResult& c) { return c.section->userDefined; });
    // A user's sections may be cast in place: such a table claims no precast.
    const std::string title = anyUsers ? "U形渠道选型表" : "装配式U形渠道选型表";
    Document doc{.title = title};
    doc.blocks.emplace_back(Heading{1, title});
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
    // A page's width holds the slope and six sections: more sections are
    // printed as further tables of the same slopes, so that no number wraps.
    const std::vector<std::string> headings = SelectionHeadings(rows);
    std::vector<std::vector<std::string>> cells;
    for (const SelectionRow& row : rows) {
        cells.push_back(SelectionCells(row));
    }
    constexpr std::size_t kSectionsATable = 6;
    for (std::size_t first = 1; first < headings.size(); first += kSectionsATable) {
        const std::size_t last = std::min(first + kSectionsATable, headings.size());
        Table table{.header = {headings.front()}};
        table.header.insert(table.header.end(), headings.begin() + static_cast<long>(first),
                            headings.begin() + static_cast<long>(last));
        for (const std::vector<std::string>& row : cells) {
            std::vector<std::string> part = {row.front()};
            part.insert(part.end(), row.begin() + static_cast<long>(first),
                        row.begin() + static_cast<long>(last));
            table.rows.push_back(std::move(part));
        }
        doc.blocks.emplace_back(std::move(table));
    }
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
