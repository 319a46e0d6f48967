// SPDX-License-Identifier: GPL-3.0-or-later
// The document as one self-contained HTML page: inline CSS and SVG, no
// script, no fetched font. It is also well-formed XML, and prints on A4 with
// a page break wherever the document has one.
#pragma once

#include <string>

#include "sheet/document.h"

namespace veltrane::sheet {

std::string WriteHtml(const Document& document);

// The same page for a printer that lays out HTML itself but draws SVG only
// through a hook: the i-th drawing stands as <img src="drawing:i">, and the
// style keeps to what such printers read.
std::string WriteHtmlForPrinting(const Document& document);

}  // namespace veltrane::sheet
