// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet as a Word document: the package of handoff/docx_parts with each
// drawing rendered to PNG at 300 dpi by Qt, its labels in the Song faces
// (the SVG goes in beside it for readers that take vector pictures).
#pragma once

#include <string>

#include "sheet/document.h"

namespace veltrane::sheet {

struct DocxOutput {
    std::string bytes;  // the .docx file
    std::string error;  // empty when it was made
};

// created: the document's time as ISO 8601 (see handoff::DocxParts).
DocxOutput WriteDocx(const Document& document, const std::string& created);

// The time now, UTC, as ISO 8601: "2026-12-09T10:00:00Z".
std::string NowIso8601();

}  // namespace veltrane::sheet
