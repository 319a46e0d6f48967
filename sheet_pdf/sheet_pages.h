// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet on A4 pages, laid out by Veltrane rather than by Qt's rich text
// engine, which cuts a page wherever its height ends (a line printed at the
// foot of one page and again at the top of the next, a drawing's top strip
// alone, a heading last on a page) and lays tables out slowly. Here:
//   - a heading is never the last thing on a page: it goes with the start of
//     what follows it;
//   - a table breaks only between rows, never right after its header, and
//     repeats its header on the next page;
//   - a paragraph breaks only between its lines;
//   - a drawing, the report block and the signature table are never split;
//   - every page has "第 x 页 共 y 页" in its footer;
//   - each part after a page break starts a new page.
// What is drawn is each text once, so the pages' texts, joined, are the
// document's.
#pragma once

#include <QRectF>
#include <string>
#include <vector>

#include "sheet/document.h"

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace veltrane::sheet {

// What a page holds, for checking the layout: each piece placed on it, in
// order, by kind and with its text.
struct PlacedPiece {
    enum class Kind { Heading, Lines, TableHeader, TableRow, Verbatim, Drawing, Signatures };
    Kind kind;
    std::size_t block = 0;   // the document block it comes from
    bool repeated = false;   // a table's header repeated on a later page
    bool continued = false;  // a row taller than a page, after its first slice
    std::string text;        // lines joined by '\n'; a row's cells by '\t'; a drawing's index
    double top = 0;          // on the page, device pixels from the top of the body
    double bottom = 0;
};

using PageContent = std::vector<PlacedPiece>;

// The pages of document on a body of the given size (device pixels of
// device, whose resolution sets the text's measure).
std::vector<PageContent> LayOutPages(const Document& document, QPaintDevice* device,
                                     const QSizeF& body);

// The height of a body that content may fill: the footer has the rest.
double ContentHeight(QPaintDevice* device, double bodyHeight);

// Prints document on device, which painter has begun on, one part at a time
// so that memory stays that of one part; empty, or what went wrong.
std::string PrintPages(const Document& document, QPagedPaintDevice& device, QPainter& painter);

}  // namespace veltrane::sheet
