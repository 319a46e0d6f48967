// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/rating_svg.h"

#include <algorithm>
#include <cmath>

#include "sheet/markup.h"

namespace veltrane::sheet {

namespace {

constexpr double kWidth = 600, kHeight = 420;
constexpr double kLeft = 70, kRight = 30, kTop = 50, kBottom = 55;

double RoundStep(double top) {
    const double raw = top / 5;
    const double power = std::pow(10, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 2.5, 5.0}) {
        if (m * power >= raw) {
            return m * power;
        }
    }
    return 10 * power;
}

void Text(std::string& out, double x, double y, const std::string& text, const char* anchor,
          double size = 12, const char* colour = "#000") {
    out += "<text x=\"" + SvgNumber(x) + "\" y=\"" + SvgNumber(y) + "\" font-size=\"" +
           SvgNumber(size) + "\" text-anchor=\"" + anchor + "\" fill=\"" + colour + "\">" +
           EscapeMarkup(text) + "</text>\n";
}

std::string Line(double x1, double y1, double x2, double y2, const std::string& extra) {
    return "<line x1=\"" + SvgNumber(x1) + "\" y1=\"" + SvgNumber(y1) + "\" x2=\"" + SvgNumber(x2) +
           "\" y2=\"" + SvgNumber(y2) + "\"" + extra + "/>\n";
}

}  // namespace

std::string RatingCurveSvg(const USection& section, const std::vector<RatingRow>& rows,
                           const std::vector<RatingMark>& marks, const std::string& title) {
    double qTop = 0;
    for (const RatingRow& r : rows) {
        qTop = std::max(qTop, r.elements.discharge);
    }
    const double qStep = RoundStep(qTop > 0 ? qTop : 1);
    qTop = std::ceil((qTop > 0 ? qTop : 1) / qStep) * qStep;
    const double hTop = section.channelDepth;
    const double hStep = RoundStep(hTop);
    const double w = kWidth - kLeft - kRight;
    const double h = kHeight - kTop - kBottom;
    const auto X = [&](double q) { return kLeft + q / qTop * w; };
    const auto Y = [&](double depth) { return kTop + h - depth / hTop * h; };
    const std::string black = " stroke=\"#000\"";

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    out +=
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"170.00mm\" height=\"" +
        SvgNumber(170 * kHeight / kWidth) + "mm\" viewBox=\"0 0 " + SvgNumber(kWidth) + " " +
        SvgNumber(kHeight) + "\">\n";
    out += "<title>" + EscapeMarkup(title) + "</title>\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    out += "<g font-family=\"SimSun, 'AR PL UMing CN', 'Noto Serif CJK SC', serif\">\n";
    Text(out, kWidth / 2, 28, title, "middle", 15);
    out += Line(kLeft, kTop, kLeft, kTop + h, black) +
           Line(kLeft, kTop + h, kLeft + w, kTop + h, black);
    for (double q = 0; q <= qTop + qStep / 2; q += qStep) {
        out += Line(X(q), kTop + h, X(q), kTop + h + 4, black);
        Text(out, X(q), kTop + h + 17, TickNumber(q), "middle", 11);
    }
    for (double d = 0; d <= hTop + 1e-9; d += hStep) {
        out += Line(kLeft - 4, Y(d), kLeft, Y(d), black);
        out += Line(kLeft, Y(d), kLeft + w, Y(d), " stroke=\"#000\" stroke-opacity=\"0.15\"");
        Text(out, kLeft - 7, Y(d) + 4, TickNumber(d), "end", 11);
    }
    out += Line(kLeft, Y(hTop), kLeft + w, Y(hTop), " stroke=\"#b2182b\" stroke-dasharray=\"6,4\"");
    Text(out, kLeft + w, Y(hTop) - 5, "H=" + ShortestNumber(hTop), "end", 11, "#b2182b");
    Text(out, kLeft + w / 2, kHeight - 12, "流量 Q (m³/s)", "middle", 12);
    Text(out, 14, kTop - 12, "水深 h (m)", "start", 12);
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
        out += Line(X(m.discharge), kTop, X(m.discharge), kTop + h,
                    " stroke=\"#33a02c\" stroke-dasharray=\"4,3\"");
        Text(out, X(m.discharge) + 4, kTop + 14, m.label, "start", 11, "#33a02c");
    }
    out += "</g>\n</svg>\n";
    return out;
}

}  // namespace veltrane::sheet
