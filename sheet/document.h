// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation sheet as a document: blocks of text, tables and drawings,
// in reading order. The HTML writer renders it; the PDF printer prints the
// HTML. Every text in it is plain text, never markup.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace veltrane::sheet {

enum class Tone { Normal, Pass, Fail, Note };

struct Heading {
    int level = 1;  // 1 the title, 2 a part, 3 a subpart
    std::string text;
};

// In a block marked formula, "^{…}" is an exponent, set as a superscript
// where the output can (the HTML and the PDF) and as the bare characters
// elsewhere. Only the builder's own texts are so marked, never a user's.
struct Paragraph {
    std::string text;
    Tone tone = Tone::Normal;
    bool formula = false;
    bool keepWithNext = false;  // it introduces what follows: never last on a page
};

struct Table {
    std::vector<std::string> header{};
    std::vector<std::vector<std::string>> rows{};
    // Per row: Fail marks a row that says what failed (a check, a bad CSV row).
    std::vector<Tone> rowTones{};
    bool keyValue = false;  // two columns, names on the left, no header
    bool formula = false;   // its cells may hold exponents (see Paragraph)
    bool wide = false;      // across the whole width, with room to write in its cells
};

// Text shown exactly as it stands, line for line: the report.
struct Verbatim {
    std::string text;
};

// A cross-section drawing, an SVG document without its XML declaration.
struct Drawing {
    std::string svg;
    // Of the text width, in print: four fifths lets a drawing share its page
    // with the conclusion; a wide drawing whose labels are sized for the
    // whole width takes all of it.
    double printedWidth = 0.8;
};

// One line of the signature table: who, as printed, and when; an empty
// name or date is left blank to be written by hand.
struct SignatureLine {
    std::string role;  // 计算, 校核, 审核
    std::string name{};
    std::string date{};
};

// The signature table of who computed, checked and approved: one line each,
// with a blank for the signature itself. It is never split across pages.
struct Signatures {
    std::vector<SignatureLine> lines{};
};

// In print, what follows starts on a new page.
struct PageBreak {};

using Block = std::variant<Heading, Paragraph, Table, Verbatim, Drawing, Signatures, PageBreak>;

struct Document {
    std::string title{};  // the page title
    std::vector<Block> blocks{};
};

// Takes a document as it is made, for one too large to hold whole (a canal
// of thousands of reaches): its title, then its blocks in reading order.
// Each returns false when the taker cannot go on (its file is full), and the
// making stops.
class DocumentSink {
  public:
    virtual ~DocumentSink() = default;
    virtual bool Begin(const std::string& title) = 0;
    virtual bool Add(const Block& block) = 0;
};

}  // namespace veltrane::sheet
