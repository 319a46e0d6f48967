// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces the charts share: the document around them, axis ticks, text
// and lines, in the style of the cross-section drawing.
#pragma once

#include <string>

namespace veltrane::sheet {

// A round step (1, 2, 2.5 or 5 times a power of ten) for about five ticks
// from 0 up to top (> 0).
double TickStep(double top);

// The SVG document up to the opening of its drawing group: 170 mm wide, the
// view box width × height, a white ground, the title, and the Song faces.
std::string BeginChart(double width, double height, const std::string& title);

// Closes what BeginChart opened.
std::string EndChart();

void ChartText(std::string& out, double x, double y, const std::string& text, const char* anchor,
               double size = 12, const char* colour = "#000");

// extra: further attributes, each with its leading blank.
std::string ChartLine(double x1, double y1, double x2, double y2,
                      const std::string& extra = " stroke=\"#000\"");

}  // namespace veltrane::sheet
