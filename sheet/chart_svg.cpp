// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/chart_svg.h"
#include "views/fonts.h"

#include <cmath>

#include "sheet/markup.h"

namespace veltrane::sheet {

double TickStep(double top) {
    const double raw = top / 5;
    const double power = std::pow(10, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 2.5, 5.0}) {
        if (m * power >= raw) {
            return m * power;
        }
    }
    return 10 * power;
}

std::string BeginChart(double width, double height, const std::string& title) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    out +=
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"170.00mm\" height=\"" +
        SvgNumber(170 * height / width) + "mm\" viewBox=\"0 0 " + SvgNumber(width) + " " +
        SvgNumber(height) + "\">\n";
    out += "<title>" + EscapeMarkup(title) + "</title>\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    out += "<g " + views::SvgFontAttribute() + ">\n";
    ChartText(out, width / 2, 28, title, "middle", 15);
    return out;
}

std::string EndChart() {
    return "</g>\n</svg>\n";
}

void ChartText(std::string& out, double x, double y, const std::string& text, const char* anchor,
               double size, const char* colour) {
    out += "<text x=\"" + SvgNumber(x) + "\" y=\"" + SvgNumber(y) + "\" font-size=\"" +
           SvgNumber(size) + "\" text-anchor=\"" + anchor + "\" fill=\"" + colour + "\">" +
           EscapeMarkup(text) + "</text>\n";
}

std::string ChartLine(double x1, double y1, double x2, double y2, const std::string& extra) {
    return "<line x1=\"" + SvgNumber(x1) + "\" y1=\"" + SvgNumber(y1) + "\" x2=\"" + SvgNumber(x2) +
           "\" y2=\"" + SvgNumber(y2) + "\"" + extra + "/>\n";
}

}  // namespace veltrane::sheet
