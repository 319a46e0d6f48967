// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation sheet printed to PDF on A4 with Qt: the text laid out by
// Qt's rich text engine, the CJK font embedded, the drawings kept as vector
// graphics through Qt SVG.
#pragma once

#include <string>

#include "sheet/document.h"

namespace veltrane::sheet {

struct PdfOutput {
    std::string bytes;  // the PDF file
    std::string error;  // empty when it was printed
};

// Needs a QGuiApplication; where none runs (the command line), one is
// started on the offscreen platform, so no display is needed.
PdfOutput PrintPdf(const Document& document);

// A QGuiApplication (offscreen where none runs) and the Song faces' stand-ins,
// for painting a sheet or a drawing.
void PrepareQtPainting();

}  // namespace veltrane::sheet
