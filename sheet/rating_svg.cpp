// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/rating_svg.h"

#include <algorithm>
#include <cmath>

#include "hydraulics/number_rules.h"
#include "sheet/chart_svg.h"
#include "sheet/markup.h"
#include "views/numbers.h"

namespace veltrane::sheet {

namespace {

constexpr double kWidth = 600, kHeight = 420;
constexpr double kLeft = 70, kRight = 30, kTop = 50, kBottom = 55;

}  // namespace

std::string RatingCurveSvg(const USection& section, const std::vector<RatingRow>& rows,
                           const std::vector<RatingMark>& marks, const std::string& title) {
    double qTop = 0;
    for (const RatingRow& r : rows) {
        qTop = std::max(qTop, r.elements.discharge);
    }
    const double qStep = TickStep(qTop > 0 ? qTop : 1);
    qTop = std::ceil((qTop > 0 ? qTop : 1) / qStep) * qStep;
    const double hTop = section.channelDepth;
    const double hStep = TickStep(hTop);
    const double w = kWidth - kLeft - kRight;
    const double h = kHeight - kTop - kBottom;
    const auto X = [&](double q) { return kLeft + q / qTop * w; };
    const auto Y = [&](double depth) { return kTop + h - depth / hTop * h; };
    const std::string black = " stroke=\"#000\"";

    std::string out = BeginChart(kWidth, kHeight, title);
    out += ChartLine(kLeft, kTop, kLeft, kTop + h, black) +
           ChartLine(kLeft, kTop + h, kLeft + w, kTop + h, black);
    for (double q = 0; q <= qTop + qStep / 2; q += qStep) {
        out += ChartLine(X(q), kTop + h, X(q), kTop + h + 4, black);
        ChartText(out, X(q), kTop + h + 17, TickNumber(q), "middle", 11);
    }
    for (double d = 0; d <= hTop + 1e-9; d += hStep) {
        out += ChartLine(kLeft - 4, Y(d), kLeft, Y(d), black);
        out += ChartLine(kLeft, Y(d), kLeft + w, Y(d), " stroke=\"#000\" stroke-opacity=\"0.15\"");
        ChartText(out, kLeft - 7, Y(d) + 4, TickNumber(d), "end", 11);
    }
    out += ChartLine(kLeft, Y(hTop), kLeft + w, Y(hTop),
                     " stroke=\"#b2182b\" stroke-dasharray=\"6,4\"");
    ChartText(out, kLeft + w, Y(hTop) - 5, "H=" + views::Decimal(hTop, views::kLengthDecimals),
              "end", 11, "#b2182b");
    ChartText(out, kLeft + w / 2, kHeight - 12, "流量 Q (m³/s)", "middle", 12);
    ChartText(out, 14, kTop - 12, "水深 h (m)", "start", 12);
    std::string points;
    for (const RatingRow& r : rows) {
        points += (points.empty() ? "" : " ") + SvgNumber(X(r.elements.discharge)) + "," +
                  SvgNumber(Y(r.elements.depth));
    }
    out += "<polyline id=\"rating\" points=\"" + points +
           "\" fill=\"none\" stroke=\"#1f78b4\" stroke-width=\"2\"/>\n";
    for (const RatingMark& m : marks) {
        if (!(m.discharge > 0) || m.discharge > qTop) {
            continue;
        }
        out += ChartLine(X(m.discharge), kTop, X(m.discharge), kTop + h,
                         " stroke=\"#33a02c\" stroke-dasharray=\"4,3\"");
        ChartText(out, X(m.discharge) + 4, kTop + 14, m.label, "start", 11, "#33a02c");
    }
    return out + EndChart();
}

}  // namespace veltrane::sheet

namespace veltrane::sheet {

std::array<std::string, 5> RatingCells(const USection& section, const RatingRow& row) {
    const FlowElements& e = row.elements;
    return {PrintedNumber(e.depth, 6), PrintedNumber(e.discharge, 4), PrintedNumber(e.velocity, 3),
            PrintedNumber(e.area, section.reportDecimals), PrintedNumber(row.froude, 3)};
}

std::string RatingCsv(const USection& section, const std::vector<RatingRow>& rows) {
    // The table's own headings: the file is for a spreadsheet a person reads.
    std::string csv;
    for (std::size_t c = 0; c < kRatingHeadings.size(); ++c) {
        csv += kRatingHeadings[c];
        csv += c + 1 == kRatingHeadings.size() ? '\n' : ',';
    }
    for (const RatingRow& row : rows) {
        const auto cells = RatingCells(section, row);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            csv += cells[c];
            csv += c + 1 == cells.size() ? '\n' : ',';
        }
    }
    return csv;
}

RatingView RatingViewFor(const USection& section, const CalculationInputs& texts) {
    RatingView view;
    const ParsedInputs v = ParseInputs(texts);
    static constexpr InputBox kBoxes[] = {InputBox::text6, InputBox::Text4};
    view.message = CheckInputs(section, v, kBoxes);
    if (view.message) {
        return view;
    }
    view.rows = RatingTable(section, v.bed(), 0.01);
    for (const RatingRow& r : view.rows) {
        if (!std::isfinite(r.elements.discharge) || !std::isfinite(r.froude)) {
            view.message = OutOfRangeMessage(section);
            view.rows.clear();
            return view;
        }
    }
    std::vector<RatingMark> marks;
    if (v.discharge > 0 && std::isfinite(v.discharge)) {
        marks.push_back(
            {v.discharge, "Q=" + views::Decimal(v.discharge, views::kDischargeDecimals)});
        if (v.factor >= 1 && v.factor <= 2 && v.factor != 1) {
            marks.push_back(
                {v.factor * v.discharge,
                 "kQ=" + views::Decimal(v.factor * v.discharge, views::kDischargeDecimals)});
        }
    }
    const std::string title = std::string(section.sizeLabel) + "  i=1/" + std::string(texts.slope) +
                              "  n=" + std::string(texts.roughness);
    view.svg = RatingCurveSvg(section, view.rows, marks, title);
    return view;
}

}  // namespace veltrane::sheet
