// SPDX-License-Identifier: GPL-3.0-or-later
// A sheet laid out by Qt's rich text engine, with its drawings drawn through
// Qt SVG: what the PDF printer prints and the program's preview shows.
#pragma once

#include <QTextDocument>
#include <memory>
#include <vector>

#include "sheet/document.h"

class QPaintDevice;

namespace veltrane::sheet {

class SheetTextDocument {
  public:
    // part: a document without page breaks. device: where it will be drawn
    // (its resolution sets the layout); none for the screen.
    explicit SheetTextDocument(const Document& part, QPaintDevice* device = nullptr);
    ~SheetTextDocument();
    SheetTextDocument(const SheetTextDocument&) = delete;
    SheetTextDocument& operator=(const SheetTextDocument&) = delete;

    QTextDocument& document() { return document_; }
    bool valid() const { return valid_; }  // false when a drawing could not be read

  private:
    struct Drawings;
    std::unique_ptr<Drawings> drawings_;
    QTextDocument document_;
    bool valid_ = true;
};

}  // namespace veltrane::sheet
