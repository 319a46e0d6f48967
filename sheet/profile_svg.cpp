// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/profile_svg.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "sheet/markup.h"
#include "views/fonts.h"
#include "views/numbers.h"
#include "views/profile_words.h"

namespace veltrane::sheet {

namespace {

using canal::Station;
const views::ProfileDrawingWords& kWords = views::kProfileDrawing;

constexpr double kLeft = 28, kRight = 8, kTop = 16;  // around the plot
constexpr double kBandRow = 7;                       // height of a row of the band
constexpr int kBandRows = 4;                         // reach, size, slope, chainage
constexpr double kFont = 3.2;                        // mm

struct Frame {
    double width = 0, height = 0;  // the drawing, mm
    double bottom = 0;             // the plot's lower edge, above the band, mm
    double length = 1;             // m of chainage
    double low = 0, high = 1;      // m of level
    double X(double chainage) const { return kLeft + (width - kLeft - kRight) * chainage / length; }
    double Y(double level) const { return bottom - (bottom - kTop) * (level - low) / (high - low); }
};

std::string Num(double v) {
    return SvgNumber(v);
}

void Text(std::string& out, double x, double y, const std::string& text, const char* anchor,
          double size = kFont, const char* fill = "#000") {
    out += "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" font-size=\"" + Num(size) +
           "\" text-anchor=\"" + anchor + "\" fill=\"" + fill + "\">" + EscapeMarkup(text) +
           "</text>\n";
}

void Line(std::string& out, double x1, double y1, double x2, double y2, const char* stroke,
          double width, const char* dash = nullptr) {
    out += "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" +
           Num(y2) + "\" stroke=\"" + stroke + "\" stroke-width=\"" + Num(width) + "\"" +
           (dash ? std::string(" stroke-dasharray=\"") + dash + "\"" : std::string()) + "/>\n";
}

// One polyline through the stations' values, in one colour.
void Polyline(std::string& out, const Frame& f, const std::vector<Station>& stations,
              double (*value)(const Station&), const char* id, const char* stroke, double width,
              const char* dash = nullptr) {
    out += "<polyline id=\"" + std::string(id) + "\" fill=\"none\" stroke=\"" + stroke +
           "\" stroke-width=\"" + Num(width) + "\" stroke-linejoin=\"round\"" +
           (dash ? std::string(" stroke-dasharray=\"") + dash + "\"" : std::string()) +
           " points=\"";
    for (std::size_t i = 0; i < stations.size(); ++i) {
        out += (i ? " " : "") + Num(f.X(stations[i].chainage)) + "," + Num(f.Y(value(stations[i])));
    }
    out += "\"/>\n";
}

// A rough width of a label on paper, mm: CJK characters a font size wide,
// others half.
double LabelWidth(const std::string& text, double size) {
    double w = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        w += n >= 3 ? size : size * 0.55;
        i += n;
    }
    return w;
}

// The highest top or water level drawn between x0 and x1 (mm on the
// drawing): the lines are straight between stations, so the highest is at a
// station within or where a line crosses x0 or x1.
double HighestBetween(const Frame& f, std::initializer_list<const std::vector<Station>*> flows,
                      double x0, double x1) {
    double highest = -1e300;
    for (const std::vector<Station>* flow : flows) {
        for (std::size_t i = 0; i < flow->size(); ++i) {
            const Station& b = (*flow)[i];
            const double xb = f.X(b.chainage);
            if (xb >= x0 && xb <= x1) {
                highest = std::max({highest, b.top, b.level});
            }
            if (i == 0) {
                continue;
            }
            const Station& a = (*flow)[i - 1];
            const double xa = f.X(a.chainage);
            for (const double x : {x0, x1}) {
                if (xa < x && x < xb) {
                    const double t = (x - xa) / (xb - xa);
                    highest = std::max(
                        {highest, a.top + t * (b.top - a.top), a.level + t * (b.level - a.level)});
                }
            }
        }
    }
    return highest;
}

}  // namespace

std::string LongitudinalProfileSvg(const canal::CanalRequest& request,
                                   const canal::CanalProfile& profile, ProfilePaper paper) {
    // The paper less its margins, mm: A4 landscape, or A4 portrait's text
    // width, less tall, so that the labels print at their size on a sheet.
    Frame f;
    f.width = paper == ProfilePaper::Landscape ? 277 : 170;
    f.height = paper == ProfilePaper::Landscape ? 180 : 125;
    f.bottom = f.height - kBandRows * kBandRow - 4;
    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + Num(f.width) +
           "mm\" height=\"" + Num(f.height) + "mm\" viewBox=\"0 0 " + Num(f.width) + " " +
           Num(f.height) + "\">\n";
    out += "<title>" + EscapeMarkup(std::string(kWords.title)) + "</title>\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    out += "<g " + views::SvgFontAttribute() + ">\n";
    if (profile.flows.empty() || profile.flows[0].stations.empty()) {
        out += "</g>\n</svg>\n";
        return out;
    }
    const std::vector<Station>& design = profile.flows[0].stations;
    const std::vector<Station>& check = profile.flows[1].stations;
    const bool twoFlows = request.factor != 1;

    f.length = std::max(design.back().chainage, 1e-9);
    f.low = design.front().bed;
    f.high = design.front().top;
    for (const auto* flow : {&design, &check}) {
        for (const Station& s : *flow) {
            f.low = std::min(f.low, s.bed);
            f.high = std::max({f.high, s.top, s.level});
        }
    }
    const double margin = std::max((f.high - f.low) * 0.08, 0.05);
    f.low -= margin;
    f.high += margin;

    Text(out, f.width / 2, 8, std::string(kWords.title), "middle", 5);
    // The level axis: ticks at a round step (1, 2 or 5 times a power of
    // ten) giving four to ten of them.
    Line(out, kLeft, kTop, kLeft, f.bottom, "#000", 0.25);
    Text(out, kLeft - 2, kTop - 3, std::string(kWords.levelAxis), "end", kFont * 0.9);
    const double span = f.high - f.low;
    double step = std::pow(10.0, std::floor(std::log10(span / 4)));
    for (const double m : {2.0, 5.0, 10.0}) {
        if (span / step <= 10) {
            break;
        }
        step = std::pow(10.0, std::floor(std::log10(span / 4))) * m;
    }
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step))));
    for (double level = std::ceil(f.low / step) * step; level <= f.high; level += step) {
        const double y = f.Y(level);
        Line(out, kLeft - 1.2, y, kLeft, y, "#000", 0.25);
        Line(out, kLeft, y, f.width - kRight, y, "#ddd", 0.15);
        Text(out, kLeft - 2, y + kFont * 0.35, views::Decimal(level, decimals), "end",
             kFont * 0.85);
    }

    // Junctions, and the band's rows under the plot.
    const std::vector<canal::ReachFlow>& reaches = profile.flows[0].reaches;
    for (int row = 0; row <= kBandRows; ++row) {
        const double y = f.bottom + row * kBandRow;
        Line(out, kLeft, y, f.width - kRight, y, "#000", row == 0 ? 0.3 : 0.2);
    }
    const std::string_view rowNames[] = {kWords.reachRow, kWords.sizeRow, kWords.slopeRow,
                                         kWords.chainageRow};
    for (int row = 0; row < kBandRows; ++row) {
        Text(out, kLeft - 2, f.bottom + row * kBandRow + kBandRow * 0.65,
             std::string(rowNames[row]), "end");
    }
    double lastLabelEnd = -1e9;
    for (std::size_t i = 0; i < reaches.size(); ++i) {
        const canal::Reach& reach = request.reaches[i];
        const double x0 = f.X(reaches[i].start), x1 = f.X(reaches[i].start + reach.length);
        Line(out, x0, kTop, x0, f.bottom + kBandRows * kBandRow, "#999", 0.15, "1,1");
        const std::string cells[] = {reach.name, reach.sizeName,
                                     "1/" + views::Decimal(reach.slope, 0)};
        // A reach too narrow for its labels keeps its line; the sheet's
        // table names it.
        const double room = x1 - x0 - 1;
        for (int row = 0; row < 3; ++row) {
            if (LabelWidth(cells[row], kFont) <= room) {
                Text(out, (x0 + x1) / 2, f.bottom + row * kBandRow + kBandRow * 0.65, cells[row],
                     "middle");
            }
        }
        // The stakes of the reaches' heads, where they do not run into the
        // one before or the end's; the canal's head starts at its line.
        const std::string stake = views::ChainageText(reaches[i].start);
        const double half = LabelWidth(stake, kFont * 0.85) / 2;
        const double endStake =
            f.X(f.length) - LabelWidth(views::ChainageText(f.length), kFont * 0.85) - 1;
        if (i == 0) {
            Text(out, x0, f.bottom + 3 * kBandRow + kBandRow * 0.65, stake, "start", kFont * 0.85);
            lastLabelEnd = x0 + 2 * half;
        } else if (x0 - half > lastLabelEnd + 1 && x0 + half < endStake) {
            Text(out, x0, f.bottom + 3 * kBandRow + kBandRow * 0.65, stake, "middle", kFont * 0.85);
            lastLabelEnd = x0 + half;
        }
    }
    const double xEnd = f.X(f.length);
    Line(out, xEnd, kTop, xEnd, f.bottom + kBandRows * kBandRow, "#999", 0.15, "1,1");
    Text(out, xEnd, f.bottom + 3 * kBandRow + kBandRow * 0.65, views::ChainageText(f.length), "end",
         kFont * 0.85);

    // The lines: the bed, the top, the water surfaces.
    Polyline(
        out, f, design, [](const Station& s) { return s.bed; }, "bed", "#000", 0.5);
    Polyline(
        out, f, design, [](const Station& s) { return s.top; }, "top", "#555", 0.3, "2,1");
    if (twoFlows) {
        Polyline(
            out, f, check, [](const Station& s) { return s.level; }, "check", "#06c", 0.35,
            "1.5,0.8");
    }
    Polyline(
        out, f, design, [](const Station& s) { return s.level; }, "design", "#06c", 0.45);
    // Where the water stands above the top, red over it.
    for (const auto* flow : {&design, &check}) {
        for (std::size_t i = 1; i < flow->size(); ++i) {
            const Station& a = (*flow)[i - 1];
            const Station& b = (*flow)[i];
            if (a.reach == b.reach && (a.freeboard < 0 || b.freeboard < 0)) {
                Line(out, f.X(a.chainage), f.Y(a.level), f.X(b.chainage), f.Y(b.level), "#d00",
                     0.6);
            }
        }
    }
    for (const canal::Jump& jump : profile.flows[0].jumps) {
        const double x = f.X(jump.chainage);
        const double bed =
            reaches[jump.reach].headBed -
            (jump.chainage - reaches[jump.reach].start) / request.reaches[jump.reach].slope;
        Line(out, x, f.Y(bed + jump.upstreamDepth), x, f.Y(bed + jump.downstreamDepth), "#06c",
             0.45);
        Text(out, x, f.Y(bed + jump.downstreamDepth) - 1.5, std::string(kWords.jump), "middle",
             kFont * 0.85, "#06c");
    }
    // The water levels at the two ends, clear above every line beneath them.
    const std::string headLevel = views::Decimal(design.front().level, 3);
    const std::string endLevel = views::Decimal(design.back().level, 3);
    const double headWidth = LabelWidth(headLevel, kFont * 0.85) + 1;
    const double endWidth = LabelWidth(endLevel, kFont * 0.85) + 1;
    Text(out, f.X(0) + 1,
         f.Y(HighestBetween(f, {&design, &check}, f.X(0), f.X(0) + headWidth)) - 1.5, headLevel,
         "start", kFont * 0.85, "#06c");
    Text(out, xEnd - 1, f.Y(HighestBetween(f, {&design, &check}, xEnd - endWidth, xEnd)) - 1.5,
         endLevel, "end", kFont * 0.85, "#06c");

    // The legend, top right.
    struct Key {
        std::string_view text;
        const char* stroke;
        const char* dash;
        bool shown;
    };
    const Key keys[] = {{kWords.bed, "#000", nullptr, true},
                        {kWords.top, "#555", "2,1", true},
                        {kWords.design, "#06c", nullptr, true},
                        {kWords.check, "#06c", "1.5,0.8", twoFlows},
                        {kWords.overtopped, "#d00", nullptr, !profile.checks.overtopped.empty()}};
    double ky = kTop + 2;
    for (const Key& k : keys) {
        if (!k.shown) {
            continue;
        }
        const double x = f.width - kRight - 45;
        Line(out, x, ky, x + 8, ky, k.stroke, 0.5, k.dash);
        Text(out, x + 10, ky + kFont * 0.35, std::string(k.text), "start", kFont * 0.9);
        ky += kFont * 1.5;
    }
    out += "</g>\n</svg>\n";
    return out;
}

}  // namespace veltrane::sheet
