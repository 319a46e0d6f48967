// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/section_svg.h"
#include "views/fonts.h"
#include "views/numbers.h"
#include "views/verdicts.h"

#include "sheet/markup.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "hydraulics/float_chars.h"
#include "hydraulics/flow_extras.h"
#include "hydraulics/number_rules.h"
#include "hydraulics/section_dimensions.h"
#include "hydraulics/section_hydraulics.h"

namespace veltrane::sheet {

namespace {

// Units of the drawing. It is 170 mm wide on paper (A4 less margins), so a
// unit is 170 mm divided by the view width.
constexpr double kViewWidthOne = 600;
constexpr double kViewWidthMany = 1000;
constexpr double kPanelMarginOne = 250;  // room for the dimension labels beside the section
constexpr double kPanelMarginMany = 40;  // side by side, the labels go under each section
constexpr double kSideMargin = 20;
constexpr double kTitleHeight = 50;

std::string Num(double v) {
    return SvgNumber(v);
}

// A length label: "H = 0.54 m", by the one number rule, 3 decimals.
std::string Metres(std::string_view name, double v) {
    return std::string(name) + " = " + views::Decimal(v, views::kLengthDecimals) + " m";
}

// Panel coordinates: x across the section from its axis, y upwards from its
// lowest point, both in metres; k units per metre. SVG's y runs down.
struct Scale {
    double k;
    std::string P(double x, double y) const { return Num(x * k) + "," + Num(-y * k); }
};

// The wetted outline up to height y, as path commands from the left edge of
// the surface down around the bottom to the right edge. The arc is drawn as
// short chords (at most 2° each), which every SVG renderer draws alike.
std::string OutlineTo(const USection& s, const Scale& sc, double y) {
    const double t = TangentDepth(s);
    const double r = s.radius;
    const double w = HalfWidthAt(s, y);
    // Half the angle the wetted arc spans, seen from the arc's centre.
    const double half = std::acos((r - std::min(y, t)) / r);
    const int chords = std::max(2, static_cast<int>(std::ceil(2 * half / (kPi / 90))));
    std::string d = "M";
    d += sc.P(-w, y);
    for (int i = 0; i <= chords; ++i) {
        const double a = -half + 2 * half * i / chords;
        d += " L";
        d += sc.P(r * std::sin(a), r - r * std::cos(a));
    }
    d += " L";
    d += sc.P(w, y);
    return d;
}

// The precast slab: the ring between the inner outline and the one δ
// outside it (the arc's radius r + δ about the same centre, the walls moved
// out along their normal), up to the channel depth, as one closed shape.
std::string SlabPath(const USection& s, const Scale& sc, double delta) {
    const double r = s.radius;
    const double R = r + delta;
    const double H = s.channelDepth;
    const double beta = s.betaPi / 180;  // half the arc's central angle, radians
    const double tanAlpha = std::tan(s.alphaPi / 180);
    // The outer tangent point, and the outer wall's top at the channel depth.
    const double xt = R * std::sin(beta);
    const double yt = r - R * std::cos(beta);
    const double xTop = xt + (H - yt) * tanAlpha;
    const int chords = std::max(2, static_cast<int>(std::ceil(2 * beta / (kPi / 90))));
    std::string d = OutlineTo(s, sc, H);
    d += " L";
    d += sc.P(xTop, H);
    for (int i = chords; i >= 0; --i) {
        const double a = -beta + 2 * beta * i / chords;
        d += " L";
        d += sc.P(R * std::sin(a), r - R * std::cos(a));
    }
    d += " L";
    d += sc.P(-xTop, H);
    return d + " Z";
}

// A scale bar of a round length about a quarter of width (units), at x, y.
void ScaleBar(std::string& out, const Scale& sc, double x, double y, double width, double font) {
    double length = 0.05;
    for (const double candidate : {0.05, 0.1, 0.2, 0.25, 0.5, 1.0}) {
        if (candidate * sc.k <= width / 4) {
            length = candidate;
        }
    }
    const double w = length * sc.k;
    out += "<g id=\"scale\">\n";
    out += "<rect x=\"" + Num(x) + "\" y=\"" + Num(y - 4) + "\" width=\"" + Num(w / 2) +
           "\" height=\"4\" fill=\"#000\"/>\n";
    out += "<rect x=\"" + Num(x + w / 2) + "\" y=\"" + Num(y - 4) + "\" width=\"" + Num(w / 2) +
           "\" height=\"4\" fill=\"#fff\" stroke=\"#000\" stroke-width=\"1\"/>\n";
    out += "<text x=\"" + Num(x) + "\" y=\"" + Num(y + font) + "\" font-size=\"" +
           Num(font * 0.85) + "\" text-anchor=\"start\" fill=\"#000\">0</text>\n";
    out += "<text x=\"" + Num(x + w) + "\" y=\"" + Num(y + font) + "\" font-size=\"" +
           Num(font * 0.85) + "\" text-anchor=\"middle\" fill=\"#000\">" +
           EscapeMarkup(views::Decimal(length, 2) + " m") + "</text>\n";
    out += "</g>\n";
}

void Text(std::string& out, double x, double y, const std::string& text, double size,
          const char* anchor = "middle", const char* colour = "#000") {
    out += "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" font-size=\"" + Num(size) +
           "\" text-anchor=\"" + anchor + "\" fill=\"" + colour + "\">" + EscapeMarkup(text) +
           "</text>\n";
}

void Line(std::string& out, double x1, double y1, double x2, double y2, const char* extra = "") {
    out += "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" +
           Num(y2) + "\" stroke=\"#000\" stroke-width=\"1\"" + extra + "/>\n";
}

// One section at the panel's origin. A compact panel, one of several side by
// side, writes its dimensions under the drawing instead of beside it.
void Panel(std::string& out, const SvgPanel& p, const Scale& sc, double font, bool compact) {
    const USection& s = *p.section;
    const std::string name = SvgIdOf(s);
    const double H = s.channelDepth;
    const double wH = HalfWidthAt(s, H);
    const double k = sc.k;
    const double r = s.radius;
    const double t = TangentDepth(s);
    const double wt = HalfWidthAt(s, t);
    const double delta = SlabThickness(s);
    const std::string alpha = "α = " + std::string(s.dimensions.angleDeg) + "°";
    const std::string hText = "h = " + p.designText + " m";
    const std::string h1Text = "h1 = " + p.checkText + " m";

    // A user's section without a thickness is drawn by its inner line alone.
    if (delta > 0) {
        out += "<path id=\"slab-" + name + "\" d=\"" + SlabPath(s, sc, delta) +
               "\" fill=\"#d9d9d9\" stroke=\"#000\" stroke-width=\"0.8\" "
               "fill-rule=\"evenodd\"/>\n";
    }
    if (p.designDepth) {
        out += "<path id=\"water-" + name + "\" d=\"" + OutlineTo(s, sc, *p.designDepth) +
               " Z\" fill=\"#a6cee3\" stroke=\"none\"/>\n";
    }
    out += "<path id=\"section-" + name + "\" d=\"" + OutlineTo(s, sc, H) +
           "\" fill=\"none\" stroke=\"#000\" stroke-width=\"2.5\"/>\n";
    if (p.checkDepth) {
        const double w1 = HalfWidthAt(s, *p.checkDepth);
        out += "<line id=\"check-" + name + "\" x1=\"" + Num(-w1 * k) + "\" y1=\"" +
               Num(-*p.checkDepth * k) + "\" x2=\"" + Num(w1 * k) + "\" y2=\"" +
               Num(-*p.checkDepth * k) +
               "\" stroke=\"#1f78b4\" stroke-width=\"1.5\" stroke-dasharray=\"6,4\"/>\n";
    }
    if (p.designDepth) {
        const double wh = HalfWidthAt(s, *p.designDepth);
        Line(out, -wh * k, -*p.designDepth * k, wh * k, -*p.designDepth * k,
             " stroke-opacity=\"0.6\"");
        // b under the surface, clear of the dashed check line above it; a
        // narrow panel has no room for it (the table beside it has b).
        if (!compact) {
            Text(out, 0, -*p.designDepth * k + font * 1.1, "b = " + p.widthText + " m", font,
                 "middle", "#08519c");
        }
    }
    Line(out, -wH * k, 0, wH * k, 0, " stroke-dasharray=\"2,3\" stroke-opacity=\"0.5\"");

    // H on the left, h on the right; the radius from the arc's centre, drawn
    // 20° off the vertical; the wall angle against the vertical at the tangent point.
    const double wallOut = delta / std::cos(s.alphaPi / 180) * k;  // the slab beside the top
    const double left = -wH * k - wallOut - 8;
    Line(out, left, 0, left, -H * k);
    Line(out, left - 4, 0, left + 4, 0);
    Line(out, left - 4, -H * k, left + 4, -H * k);
    const double right = wH * k + wallOut + 8;
    if (p.designDepth) {
        Line(out, right, 0, right, -*p.designDepth * k);
        Line(out, right - 4, -*p.designDepth * k, right + 4, -*p.designDepth * k);
    }
    const double a = 0.35;
    Line(out, 0, -r * k, r * std::sin(a) * k, -(r - r * std::cos(a)) * k);
    Line(out, wt * k, -t * k, wt * k, -H * k, " stroke-dasharray=\"3,3\"");

    double below = delta * k + font * 1.6;
    Text(out, 0, below, std::string(s.sizeLabel), font * 1.1);
    const std::string slabText = s.dimensions.slabCm.empty()
                                     ? std::string()
                                     : "  δ = " + std::string(s.dimensions.slabCm) + " cm";
    if (compact) {
        // One fact a line, so that no line is wider than its panel.
        std::vector<std::string> lines = {Metres("H", H) + "  " + Metres("r", r), alpha + slabText};
        if (p.designDepth) {
            lines.push_back(hText);
        }
        if (p.checkDepth) {
            lines.push_back(h1Text);
        }
        for (const std::string& line : lines) {
            below += font * 1.2;
            Text(out, 0, below, line, font * 0.8);
        }
    } else {
        Text(out, left - 6, -H * k / 2, Metres("H", H), font, "end");
        // h at its level; h1 above it, at least a line clear of it.
        double hBaseline = 0;
        if (p.designDepth) {
            hBaseline = -*p.designDepth * k + font / 3;
            Text(out, right + 6, hBaseline, hText, font, "start");
        }
        if (p.checkDepth) {
            double y = -*p.checkDepth * k - font / 2;
            if (p.designDepth) {
                y = std::min(y, hBaseline - font * 1.3);
            }
            Text(out, right + 6, y, h1Text, font, "start", "#1f78b4");
        }
        // r beside the radius, moved off the line of b where the surface
        // comes near it (b stands a line under the surface).
        double rBaseline = -r * k * 0.55;
        if (p.designDepth) {
            const double bBaseline = -*p.designDepth * k + font * 1.1;
            if (std::abs(bBaseline - rBaseline) < font * 1.4) {
                rBaseline = bBaseline + font * 1.5 < -font * 0.5 ? bBaseline + font * 1.5
                                                                 : bBaseline - font * 1.5;
            }
        }
        Text(out, r * std::sin(a) * k / 2 + 4, rBaseline, Metres("r", r), font, "start");
        // α and δ above the left wall, clear of every water line and of h and h1.
        Text(out, -wH * k, -H * k - 8, alpha + slabText, font, "middle");
    }
    if (!p.note.empty()) {
        below += font * 1.3;
        Text(out, 0, below, p.note, font * 0.9, "middle", "#b2182b");
    }
}

}  // namespace

SvgPanel PanelFor(const USection& section, const CalculationOutcome& outcome) {
    SvgPanel p{.section = &section};
    const int d = section.reportDecimals;
    const bool designFits =
        outcome.isReport() || outcome.message().number == MessageNumber::CheckOverflow;
    if (outcome.searches && designFits) {
        const DepthSearchResult& design = outcome.searches->design;
        p.designDepth = design.reportedDepth;
        p.designText = views::Decimal(design.reportedDepth, d);
        p.widthText = views::Decimal(design.elements.surfaceWidth, d);
    }
    if (outcome.isReport()) {
        p.checkDepth = outcome.searches->check.reportedDepth;
        p.checkText = views::Decimal(outcome.searches->check.reportedDepth, d);
    } else if (const std::string_view above = views::DepthAboveChannel(outcome.message().number);
               !above.empty()) {
        p.note = std::string(above);
    } else {
        p.note = std::string(outcome.message().text);
    }
    return p;
}

std::string InputsTitle(std::string_view q, std::string_view x, std::string_view n,
                        std::string_view k) {
    return "Q=" + std::string(q) + " m³/s  i=1/" + std::string(x) + "  n=" + std::string(n) +
           "  k=" + std::string(k);
}

std::string CrossSectionSvg(const std::vector<SvgPanel>& panels, const std::string& title) {
    double widthMetres = 0;
    double heightMetres = 0;
    for (const SvgPanel& p : panels) {
        widthMetres += 2 * HalfWidthAt(*p.section, p.section->channelDepth);
        heightMetres = std::max(heightMetres, p.section->channelDepth);
    }
    const bool many = panels.size() > 1;
    const double viewWidth = many ? kViewWidthMany : kViewWidthOne;
    const double font = many ? 15 : 13;
    const double margin = many ? kPanelMarginMany : kPanelMarginOne;
    const Scale sc{(viewWidth - 2 * kSideMargin - margin * static_cast<double>(panels.size())) /
                   widthMetres};
    double slab = 0;
    for (const SvgPanel& p : panels) {
        slab = std::max(slab, SlabThickness(*p.section));
    }
    const double bottomRoom = font * (many ? 12 : 7) + slab * sc.k;
    const double viewHeight = kTitleHeight + heightMetres * sc.k + bottomRoom + 20;
    const double widthMm = 170;
    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + Num(widthMm) +
           "mm\" height=\"" + Num(widthMm * viewHeight / viewWidth) + "mm\" viewBox=\"0 0 " +
           Num(viewWidth) + " " + Num(viewHeight) + "\">\n";
    out += "<title>" + EscapeMarkup(title) + "</title>\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    out += "<g " + views::SvgFontAttribute() + ">\n";
    Text(out, viewWidth / 2, 30, title, TitleFontSize(title, font * 1.2, viewWidth - 20));
    double x = kSideMargin;
    const double baseline = kTitleHeight + heightMetres * sc.k + 10;
    for (const SvgPanel& p : panels) {
        const double w = 2 * HalfWidthAt(*p.section, p.section->channelDepth) * sc.k;
        const double ox = x + margin / 2 + w / 2;
        out += "<g id=\"panel-" + SvgIdOf(*p.section) + "\" transform=\"translate(" + Num(ox) +
               "," + Num(baseline) + ")\">\n";
        Panel(out, p, sc, font, many);
        out += "</g>\n";
        x += w + margin;
    }
    ScaleBar(out, sc, kSideMargin, viewHeight - 20 - font, viewWidth, font);
    out += "</g>\n</svg>\n";
    return out;
}

double TitleFontSize(std::string_view title, double size, double width) {
    // Ems the title takes: a wide (CJK) character one, any other about 0.55,
    // as the Song faces set them.
    double ems = 0;
    for (std::size_t i = 0; i < title.size();) {
        const auto b = static_cast<unsigned char>(title[i]);
        const std::size_t length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        ems += length >= 3 ? 1.0 : 0.55;
        i += length;
    }
    // A long name shrinks the title to fit, down to 60 % of its size.
    return ems * size <= width ? size : std::max(width / ems, size * 0.6);
}

std::string SvgIdOf(const USection& s) {
    const bool plain = std::all_of(s.name.begin(), s.name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_' || c == '.';
    });
    if (plain && !s.name.empty()) {
        return std::string(s.name);
    }
    // Any other name as its bytes in hex: an id holds no blank and no markup.
    static constexpr char kHex[] = "0123456789abcdef";
    std::string id = "x";
    for (const char c : s.name) {
        id += kHex[(static_cast<unsigned char>(c) >> 4) & 0xF];
        id += kHex[static_cast<unsigned char>(c) & 0xF];
    }
    return id;
}

double SlabThickness(const USection& s) {
    const std::string_view cm = s.dimensions.slabCm;
    double value = 0;
    FromChars(cm.data(), cm.data() + cm.size(), value);
    return value / 100;
}

std::string RunDrawingTitle(const USection& section, const CalculationInputs& texts) {
    return std::string(section.sizeLabel) + "  " +
           InputsTitle(texts.discharge, texts.slope, texts.roughness, texts.factor);
}

std::string RunDrawingSvg(const USection& section, const CalculationInputs& texts,
                          const CalculationOutcome& outcome) {
    return CrossSectionSvg({PanelFor(section, outcome)}, RunDrawingTitle(section, texts));
}

namespace {

struct ViewBox {
    double width = 0;
    double height = 0;
};

// The drawing's viewBox="0 0 W H", both sides positive and below 10⁵.
std::optional<ViewBox> ViewBoxOf(std::string_view svg) {
    constexpr std::string_view kViewBox = "viewBox=\"0 0 ";
    const auto at = svg.find(kViewBox);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const char* p = svg.data() + at + kViewBox.size();
    const char* end = svg.data() + svg.size();
    ViewBox box;
    const auto w = FromChars(p, end, box.width);
    if (w.ec != std::errc() || w.ptr == end || *w.ptr != ' ') {
        return std::nullopt;
    }
    const auto h = FromChars(w.ptr + 1, end, box.height);
    if (h.ec != std::errc() ||
        !(box.width > 0 && box.width < 1e5 && box.height > 0 && box.height < 1e5)) {
        return std::nullopt;
    }
    return box;
}

}  // namespace

PixelSize PngSize(std::string_view svg) {
    const std::optional<ViewBox> box = ViewBoxOf(svg);
    if (!box) {
        return {};
    }
    // Rounded before scaling, as QSizeF::toSize() rounds the view box.
    return {static_cast<int>(std::lround(box->width)) * kPngPixelsPerUnit,
            static_cast<int>(std::lround(box->height)) * kPngPixelsPerUnit};
}

double WidthForLabels(std::string_view svg, double labelPx) {
    const std::optional<ViewBox> box = ViewBoxOf(svg);
    if (!box) {
        return 0;
    }
    constexpr std::string_view kFontSize = "font-size=\"";
    double smallest = 0;
    for (auto at = svg.find(kFontSize); at != std::string_view::npos;
         at = svg.find(kFontSize, at + 1)) {
        const char* p = svg.data() + at + kFontSize.size();
        double size = 0;
        if (FromChars(p, svg.data() + svg.size(), size).ec == std::errc() && size > 0 &&
            (smallest == 0 || size < smallest)) {
            smallest = size;
        }
    }
    return smallest > 0 ? std::ceil(box->width * labelPx / smallest) : 0;
}

}  // namespace veltrane::sheet
