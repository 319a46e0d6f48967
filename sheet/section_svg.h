// SPDX-License-Identifier: GPL-3.0-or-later
// Cross-sections drawn to scale as self-contained SVG 1.1, for pasting into a
// design report: the section up to its channel depth, the water up to the
// design depth and a dashed line at the check depth.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hydraulics/calculation_run.h"

namespace veltrane::sheet {

struct SvgPanel {
    const USection* section = nullptr;
    std::optional<double> designDepth{};  // m; no water drawn without it
    std::optional<double> checkDepth{};   // m; no dashed line without it
    std::string designText{};             // the depths as the report prints them
    std::string checkText{};
    std::string widthText{};  // surface width b as the report prints it
    std::string note{};       // shown under the panel, e.g. why nothing fits
};

// The panel of a run: the water at the design depth and the dashed check
// level where the run found them, the depths and the width as the report
// prints them, and a note where a depth lies above the channel or the texts
// were rejected.
SvgPanel PanelFor(const USection& section, const CalculationOutcome& outcome);

// "Q=0.25 m³/s  i=1/500  n=0.017  k=1.0", from the texts as given.
std::string InputsTitle(std::string_view q, std::string_view x, std::string_view n,
                        std::string_view k);

// One drawing with the panels side by side, all at one scale.
std::string CrossSectionSvg(const std::vector<SvgPanel>& panels, const std::string& title);

// The font size, at most size, at which title fits width (both in the
// drawing's units), by an estimate of the Song faces' advances.
double TitleFontSize(std::string_view title, double size, double width);

// The section's name as an SVG id: the name itself where it is plain ASCII
// (U80), else "x" and its bytes in hex.
std::string SvgIdOf(const USection& section);

// The slab thickness δ of the dimension table, m.
double SlabThickness(const USection& section);

// "U60形渠道构件  Q=0.25 m³/s  i=1/500  n=0.017  k=1.0": a run's drawing's title.
std::string RunDrawingTitle(const USection& section, const CalculationInputs& texts);

// The drawing of one run of a window's texts, as the program and the web
// page show it: titled with the size and the texts, and drawn also when a
// depth lies above the channel (the panel says so).
std::string RunDrawingSvg(const USection& section, const CalculationInputs& texts,
                          const CalculationOutcome& outcome);

// A drawing saved as PNG, as the program's 保存PNG… saves it: its view box
// rounded to whole units, at two pixels a unit, on white (a view box of
// 600 × 432.01 gives 1200 × 864 px).
inline constexpr int kPngPixelsPerUnit = 2;

struct PixelSize {
    int width = 0;
    int height = 0;
};

// The PNG size of one of these drawings, read from its viewBox="0 0 W H";
// 0 × 0 where it has none that can be read.
PixelSize PngSize(std::string_view svg);

// The narrowest width, in screen pixels, at which a drawing made here (a
// section, the five of 选型, a chart) shows its smallest label at least
// labelPx high: its view box width times labelPx over the smallest
// font-size in it. 0 where the drawing has no view box or no label.
double WidthForLabels(std::string_view svg, double labelPx);

}  // namespace veltrane::sheet
