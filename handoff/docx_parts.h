// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation sheet as a Word document (.docx, Office Open XML): the
// parts of its package, from the sheet's document model, for any reader
// that takes Word files (Word, WPS, LibreOffice). Headings use Word's
// built-in heading styles, so that an institute's template restyles them
// and builds a table of contents from them; tables repeat their header row
// on every page; the report keeps its columns in a monospaced CJK face; the
// footer says "第 x 页 共 y 页".
#pragma once

#include <string>
#include <vector>

#include "sheet/document.h"

namespace veltrane::handoff {

// A drawing as the document embeds it: a PNG for every reader (300 dpi at
// its printed width), and the drawing's SVG beside it for Word 2016 on,
// which shows the vector picture and prints it sharp.
struct DocxPicture {
    std::string png;
    int pixelWidth = 1, pixelHeight = 1;
};

struct DocxPart {
    std::string name;  // in the package: "word/document.xml"
    std::string bytes;
};

// The text width of the page, mm: A4 less 18 mm each side, as the HTML
// sheet's.
inline constexpr double kTextWidthMm = 174;

// The parts, [Content_Types].xml first. pictures[i] is the i-th Drawing in
// doc's blocks (one for each; a drawing without one is left out). created is
// the document's date and time as ISO 8601 ("2026-12-09T10:00:00Z").
std::vector<DocxPart> DocxParts(const sheet::Document& doc,
                                const std::vector<DocxPicture>& pictures,
                                const std::string& created);

}  // namespace veltrane::handoff
