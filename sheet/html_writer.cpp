// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/html_writer.h"

#include "sheet/markup.h"
#include "sheet/signature_words.h"
#include "views/fonts.h"

namespace veltrane::sheet {

namespace {

// A4 with 18 mm margins; Song faces first, as the windows use them.
const std::string& Style() {
    static const std::string style = R"(@page { size: A4; margin: 18mm 18mm 20mm;
  @bottom-center { content: "第 " counter(page) " 页 共 " counter(pages) " 页";
    font-size: 9pt; } }
body { font-family: )" + views::FontFamilyList("serif", '"') +
                                     R"(; font-size: 10.5pt;
  line-height: 1.5; color: #000; max-width: 174mm; margin: 0 auto; }
h1 { font-size: 18pt; text-align: center; margin: 0 0 8pt; }
h2 { font-size: 13pt; margin: 14pt 0 4pt; }
h3 { font-size: 11pt; margin: 8pt 0 2pt; }
p { margin: 3pt 0; }
h1, h2, h3 { page-break-after: avoid; break-after: avoid; }
table { border-collapse: collapse; margin: 4pt 0; }
tr { page-break-inside: avoid; break-inside: avoid; }
th, td { border: 1px solid #000; padding: 2pt 4pt; text-align: left; vertical-align: top; }
th { white-space: nowrap; }
th { background: #eee; }
table.details td { border: none; padding: 1pt 6pt; }
table.wide { width: 100%; }
table.wide td { height: 16pt; }
table.wide td:nth-child(odd) { width: 14%; white-space: nowrap; }
pre { font-family: )" + views::FontFamilyList("monospace", '"') +
                                     R"(; border: 1px solid #888;
  padding: 4pt 8pt; margin: 4pt 0; page-break-inside: avoid; }
.pass { color: #006400; }
.fail { color: #b2182b; font-weight: bold; }
.note { color: #444; }
div.drawing { margin: 6pt 0; page-break-inside: avoid; }
div.drawing svg { width: 100%; height: auto; }
table.signatures { width: 100%; margin-top: 12pt; page-break-inside: avoid; break-inside: avoid; }
table.signatures td { height: 22pt; }
table.signatures th:nth-child(3) { width: 35%; }
div.break { page-break-before: always; break-before: page; }
)";
    return style;
}

std::string ToneClass(Tone tone) {
    switch (tone) {
        case Tone::Pass:
            return " class=\"pass\"";
        case Tone::Fail:
            return " class=\"fail\"";
        case Tone::Note:
            return " class=\"note\"";
        case Tone::Normal:
            break;
    }
    return {};
}

// The drawing without its XML declaration, so that it can stand inline.
std::string_view InlineSvg(std::string_view svg) {
    if (svg.substr(0, 5) == "<?xml") {
        const auto end = svg.find("?>");
        svg.remove_prefix(end == std::string_view::npos ? svg.size() : end + 2);
        while (!svg.empty() && (svg.front() == '\n' || svg.front() == '\r')) {
            svg.remove_prefix(1);
        }
    }
    return svg;
}

// How much the writer holds before it hands it on, bytes.
constexpr std::size_t kPieceSize = std::size_t{1} << 16;

struct Writer {
    std::string& out;
    bool forPrinting;
    int& drawings;  // numbered through the whole page

    void operator()(const Heading& h) {
        const std::string tag = "h" + std::to_string(h.level);
        out += "<" + tag + ">" + EscapeMarkup(h.text) + "</" + tag + ">\n";
    }
    // Text of a formula block: escaped, and each "^{…}" set as a superscript.
    static std::string Formula(const std::string& text) {
        std::string out;
        for (const FormulaPiece& piece : FormulaPieces(text)) {
            out += piece.superscript ? "<sup>" + EscapeMarkup(piece.text) + "</sup>"
                                     : EscapeMarkup(piece.text);
        }
        return out;
    }
    static std::string Text(const std::string& text, bool formula) {
        return formula ? Formula(text) : EscapeMarkup(text);
    }

    void operator()(const Paragraph& p) {
        // A paragraph that introduces what follows stays on its page.
        const std::string lead = p.keepWithNext ? " style=\"break-after: avoid\"" : "";
        out += "<p" + ToneClass(p.tone) + lead + ">" + Text(p.text, p.formula) + "</p>\n";
    }
    void operator()(const Table& t) {
        // The attributes serve printers that read little CSS; browsers let
        // the style override them.
        const std::string border =
            forPrinting && !t.keyValue
                ? " border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\""
                : "";
        out += t.keyValue ? "<table class=\"details\">\n"
               : t.wide   ? "<table class=\"wide\"" + border + ">\n"
                          : "<table" + border + ">\n";
        // A header in <thead> is repeated where the table runs onto a new page.
        if (!t.header.empty()) {
            out += "<thead><tr>";
            for (const std::string& cell : t.header) {
                out += "<th>" + EscapeMarkup(cell) + "</th>";
            }
            out += "</tr></thead>\n";
        }
        out += "<tbody>\n";
        for (std::size_t r = 0; r < t.rows.size(); ++r) {
            const Tone tone = r < t.rowTones.size() ? t.rowTones[r] : Tone::Normal;
            out += "<tr" + ToneClass(tone) + ">";
            for (const std::string& cell : t.rows[r]) {
                out += "<td>" + Text(cell, t.formula) + "</td>";
            }
            out += "</tr>\n";
        }
        out += "</tbody></table>\n";
    }
    void operator()(const Verbatim& v) { out += "<pre>" + EscapeMarkup(v.text) + "</pre>\n"; }
    void operator()(const Drawing& d) {
        if (forPrinting) {
            out += "<p><img src=\"drawing:" + std::to_string(drawings++) + "\"/></p>\n";
            return;
        }
        out += "<div class=\"drawing\">\n";
        out += InlineSvg(d.svg);
        out += "</div>\n";
    }
    void operator()(const Signatures& s) {
        // A blank column for the signature itself; names and dates as given.
        const std::string border =
            forPrinting ? " border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"" : "";
        out += "<table class=\"signatures\"" + border + ">\n<thead><tr>";
        for (std::string_view heading : kSignatureHeadings) {
            out += "<th>" + std::string(heading) + "</th>";
        }
        out += "</tr></thead>\n<tbody>\n";
        for (const SignatureLine& line : s.lines) {
            out += "<tr><td>" + EscapeMarkup(line.role) + "</td><td>" + EscapeMarkup(line.name) +
                   "</td><td></td><td>" + EscapeMarkup(line.date) + "</td></tr>\n";
        }
        out += "</tbody></table>\n";
    }
    void operator()(const PageBreak&) { out += "<div class=\"break\"></div>\n"; }
};

std::string Write(const Document& document, bool forPrinting) {
    std::string out;
    out.reserve(32768);
    HtmlWriter writer(
        [&out](std::string_view piece) {
            out += piece;
            return true;
        },
        forPrinting);
    writer.Begin(document.title);
    for (const Block& block : document.blocks) {
        writer.Add(block);
    }
    writer.End();
    return out;
}

}  // namespace

HtmlWriter::HtmlWriter(Sink sink, bool forPrinting)
    : sink_(std::move(sink)), forPrinting_(forPrinting) {}

bool HtmlWriter::Begin(const std::string& title) {
    buffer_ += "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"zh-CN\">\n";
    buffer_ +=
        "<head>\n<meta charset=\"utf-8\"/>\n<title>" + EscapeMarkup(title) + "</title>\n<style>\n";
    buffer_ += Style();
    buffer_ += "</style>\n</head>\n<body>\n";
    return Pass(false);
}

bool HtmlWriter::Add(const Block& block) {
    std::visit(Writer{buffer_, forPrinting_, drawings_}, block);
    return Pass(false);
}

bool HtmlWriter::End() {
    buffer_ += "</body>\n</html>\n";
    return Pass(true);
}

bool HtmlWriter::Pass(bool all) {
    if (ok_ && (all || buffer_.size() >= kPieceSize)) {
        ok_ = sink_(buffer_);
        buffer_.clear();
    }
    if (!ok_) {
        buffer_.clear();
    }
    return ok_;
}

std::string WriteHtml(const Document& document) {
    return Write(document, false);
}

std::string WriteHtmlForPrinting(const Document& document) {
    return Write(document, true);
}

}  // namespace veltrane::sheet
