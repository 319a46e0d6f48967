// SPDX-License-Identifier: GPL-3.0-or-later
// A drawing as printed: its shapes through Qt SVG, its labels as text. Qt SVG
// draws text as glyph outlines, which makes a PDF page of a drawing some
// 500 KB and slow to write, and loses the text for a reader who copies it.
#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QSvgRenderer>
#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace veltrane::sheet {

struct Label {
    QPointF at;  // the baseline point, in the drawing's own units
    double size = 0;
    QString anchor;  // "start", "middle" or "end"
    QColor fill;
    QString text;
};

struct PrintedDrawing {
    std::unique_ptr<QSvgRenderer> shapes;
    std::vector<Label> labels;
    double printedWidth = 0.8;  // of the text width (see Drawing)

    // Draws the drawing scaled into rect, which has its proportions.
    void Draw(QPainter& painter, const QRectF& rect) const;
};

// The drawing split for printing, or nothing when its SVG cannot be read.
std::unique_ptr<PrintedDrawing> SplitDrawing(const std::string& svg);

}  // namespace veltrane::sheet
