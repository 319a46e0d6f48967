// SPDX-License-Identifier: GPL-3.0-or-later
// The document as one self-contained HTML page: inline CSS and SVG, no
// script, no fetched font. It is also well-formed XML, and prints on A4 with
// a page break wherever the document has one.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "sheet/document.h"

namespace veltrane::sheet {

// The page written as the document is made: the head at Begin, each block
// as it is added, the end at End, handed to sink in pieces of about 64 kB,
// so that a canal's page of any length needs the memory of one reach. The
// bytes are those of WriteHtml. sink returns false when it cannot take a
// piece (a full disk); nothing more is written then, and every call
// returns false.
class HtmlWriter final : public DocumentSink {
  public:
    using Sink = std::function<bool(std::string_view)>;

    explicit HtmlWriter(Sink sink, bool forPrinting = false);

    bool Begin(const std::string& title) override;
    bool Add(const Block& block) override;
    // The end of the page, and whatever is still held, to the sink.
    bool End();

  private:
    bool Pass(bool all);

    Sink sink_;
    std::string buffer_;
    bool forPrinting_ = false;
    int drawings_ = 0;
    bool ok_ = true;
};

std::string WriteHtml(const Document& document);

// The same page for a printer that lays out HTML itself but draws SVG only
// through a hook: the i-th drawing stands as <img src="drawing:i">, and the
// style keeps to what such printers read.
std::string WriteHtmlForPrinting(const Document& document);

}  // namespace veltrane::sheet
