// SPDX-License-Identifier: GPL-3.0-or-later
#include "handoff/docx_parts.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "sheet/markup.h"
#include "sheet/signature_words.h"

namespace veltrane::handoff {

namespace {

using namespace sheet;

constexpr std::string_view kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kWordNs =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
constexpr std::string_view kRelationshipNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// Twips (1/20 pt) and EMU (1/360000 cm) of a length in mm.
long Twips(double mm) {
    return std::lround(mm * 1440 / 25.4);
}
long Emu(double mm) {
    return std::lround(mm * 36000);
}

// The face the report is set in: NSimSun (新宋体) is SimSun with every
// character the same advance, so the report's columns stay in line.
constexpr std::string_view kReportFace = "NSimSun";
// 宋体 for Chinese and Times New Roman for Latin letters and digits, as the
// institutes' own sheets are set (LibreOffice takes Liberation Serif, of the
// same widths, for Times).
constexpr std::string_view kBodyFace = "SimSun";
constexpr std::string_view kLatinFace = "Times New Roman";

// A run of text: escaped for XML, with tabs and line breaks as Word's own
// elements (a bare line feed in w:t is only a blank to Word).
std::string Runs(std::string_view text, std::string_view properties = {}) {
    std::string out;
    if (text.empty()) {
        return out;
    }
    const std::string open =
        "<w:r>" +
        (properties.empty() ? std::string() : "<w:rPr>" + std::string(properties) + "</w:rPr>");
    std::string::size_type from = 0;
    bool first = true;
    while (from <= text.size()) {
        const auto end = text.find_first_of("\n\t", from);
        const std::string_view piece =
            text.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from);
        out += open;
        if (!first) {
            out += text[from - 1] == '\t' ? "<w:tab/>" : "<w:br/>";
        }
        if (!piece.empty()) {
            std::string escaped = EscapeMarkup(piece);
            // A carriage return of a CR LF line end is no character of its own.
            for (auto cr = escaped.find("&#13;"); cr != std::string::npos;
                 cr = escaped.find("&#13;")) {
                escaped.erase(cr, 5);
            }
            out += "<w:t xml:space=\"preserve\">" + escaped + "</w:t>";
        }
        out += "</w:r>";
        if (end == std::string_view::npos) {
            break;
        }
        from = end + 1;
        first = false;
    }
    return out;
}

// The run properties of a tone, as the HTML sheet colours it.
std::string_view ToneProperties(Tone tone) {
    switch (tone) {
        case Tone::Pass:
            return "<w:color w:val=\"006400\"/>";
        case Tone::Fail:
            return "<w:b/><w:color w:val=\"B2182B\"/>";
        case Tone::Note:
            return "<w:color w:val=\"444444\"/>";
        case Tone::Normal:
            break;
    }
    return {};
}

// Text of a formula block: each "^{…}" a superscript run.
std::string FormulaRuns(const std::string& text, std::string_view tone) {
    std::string out;
    for (const FormulaPiece& piece : FormulaPieces(text)) {
        out += piece.superscript
                   ? Runs(piece.text, std::string(tone) + "<w:vertAlign w:val=\"superscript\"/>")
                   : Runs(piece.text, tone);
    }
    return out;
}

std::string TextRuns(const std::string& text, bool formula, std::string_view tone) {
    return formula ? FormulaRuns(text, tone) : Runs(text, tone);
}

// The most a column asks for, in half ems: 24, twelve CJK characters.
constexpr double kWidestColumn = 24;

// How wide a text is set, in half ems (a CJK character, 3 or 4 bytes of
// UTF-8, two): its widest line, or where it may wrap (wrapping), its
// widest word, each CJK character a word of its own.
double DisplayWidth(std::string_view text, bool wrapping) {
    double widest = 0, run = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const bool cjk = n >= 3;
        if (text[i] == '\n' || (wrapping && (text[i] == ' ' || cjk))) {
            run = 0;
        }
        if (text[i] != '\n' && !(wrapping && text[i] == ' ')) {
            // Times' digits are half an em; its letters a little more.
            run += cjk ? 2 : 1.1;
        }
        widest = std::max(widest, run);
        if (wrapping && cjk) {
            run = 0;
        }
        i += n;
    }
    return widest;
}

class Body {
  public:
    Body(const std::vector<DocxPicture>& pictures) : pictures_(pictures) {}

    std::string xml;
    int drawings = 0;  // drawings met, numbered through the document

    void operator()(const Heading& h) {
        const int level = std::clamp(h.level, 1, 3);
        xml += "<w:p><w:pPr><w:pStyle w:val=\"Heading" + std::to_string(level) + "\"/></w:pPr>" +
               Runs(h.text) + "</w:p>\n";
    }
    void operator()(const Paragraph& p) {
        xml += "<w:p>";
        if (p.keepWithNext) {
            xml += "<w:pPr><w:keepNext/></w:pPr>";
        }
        xml += TextRuns(p.text, p.formula, ToneProperties(p.tone)) + "</w:p>\n";
    }
    void operator()(const Table& t) {
        std::size_t columns = t.header.size();
        for (const auto& row : t.rows) {
            columns = std::max(columns, row.size());
        }
        if (columns == 0) {
            return;
        }
        const std::string borders =
            t.keyValue
                ? ""
                : "<w:tblBorders>" + Border("top") + Border("left") + Border("bottom") +
                      Border("right") + Border("insideH") + Border("insideV") + "</w:tblBorders>";
        xml += "<w:tbl><w:tblPr>";
        // Across the text width, as the printed sheet's tables, each column
        // as wide as its longest line asks (a CJK character two ASCII ones),
        // so that a number never breaks inside a narrow column.
        xml += t.keyValue ? "<w:tblW w:w=\"0\" w:type=\"auto\"/>"
                          : "<w:tblW w:w=\"5000\" w:type=\"pct\"/>";
        xml += borders +
               "<w:tblLayout w:type=\"autofit\"/><w:tblCellMar><w:left w:w=\"80\" "
               "w:type=\"dxa\"/><w:right w:w=\"80\" w:type=\"dxa\"/></w:tblCellMar>"
               "<w:tblLook w:val=\"0000\"/></w:tblPr><w:tblGrid>";
        // A heading may wrap between its words and its CJK characters; a
        // cell's text is kept whole. Each column gets its cell padding too.
        std::vector<double> wants(columns, 3);
        for (std::size_t c = 0; c < t.header.size(); ++c) {
            wants[c] = std::max(wants[c], DisplayWidth(t.header[c], true));
        }
        for (std::size_t r = 0; r < t.rows.size(); ++r) {
            // A failing row is set bold, a little wider.
            const bool bold = r < t.rowTones.size() && t.rowTones[r] == Tone::Fail;
            for (std::size_t c = 0; c < t.rows[r].size() && c < columns; ++c) {
                wants[c] = std::max(wants[c], DisplayWidth(t.rows[r][c], false) * (bold ? 1.1 : 1));
            }
        }
        // A long text (a reach's name of 300 characters) wraps in its own
        // column rather than crushing the others.
        double total = 0;
        for (double& w : wants) {
            w = std::min(w, kWidestColumn) + 2.5;
            total += w;
        }
        for (std::size_t c = 0; c < columns; ++c) {
            xml += "<w:gridCol w:w=\"" +
                   std::to_string(
                       std::lround(static_cast<double>(Twips(kTextWidthMm)) * wants[c] / total)) +
                   "\"/>";
        }
        xml += "</w:tblGrid>\n";
        if (!t.header.empty()) {
            Row(t.header, columns, true, Tone::Normal, false, t.wide, keepTogether_);
        }
        for (std::size_t r = 0; r < t.rows.size(); ++r) {
            Row(t.rows[r], columns, false, r < t.rowTones.size() ? t.rowTones[r] : Tone::Normal,
                t.formula, t.wide, keepTogether_ && r + 1 < t.rows.size());
        }
        xml += "</w:tbl>\n";
        // Word needs a paragraph between two tables, or it joins them.
        xml += "<w:p><w:pPr><w:spacing w:before=\"0\" w:after=\"0\"/></w:pPr></w:p>\n";
    }
    void operator()(const Verbatim& v) {
        xml += "<w:p><w:pPr><w:pStyle w:val=\"Report\"/></w:pPr>" + Runs(v.text) + "</w:p>\n";
    }
    void operator()(const Drawing& d) {
        const int n = ++drawings;
        if (static_cast<std::size_t>(n) > pictures_.size()) {
            return;
        }
        const DocxPicture& p = pictures_[static_cast<std::size_t>(n - 1)];
        const double widthMm = kTextWidthMm * std::clamp(d.printedWidth, 0.1, 1.0);
        const long cx = Emu(widthMm);
        const long cy = Emu(widthMm * p.pixelHeight / std::max(1, p.pixelWidth));
        const std::string id = std::to_string(n);
        const std::string extent =
            "cx=\"" + std::to_string(cx) + "\" cy=\"" + std::to_string(cy) + "\"";
        xml +=
            "<w:p><w:pPr><w:keepNext/><w:jc w:val=\"center\"/></w:pPr><w:r><w:drawing>"
            "<wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\" "
            "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\">"
            "<wp:extent " +
            extent + "/><wp:docPr id=\"" + id + "\" name=\"图" + id +
            "\"/>"
            "<a:graphic xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">"
            "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
            "<pic:pic xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
            "<pic:nvPicPr><pic:cNvPr id=\"" +
            id + "\" name=\"drawing" + id +
            ".png\"/>"
            "<pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"rIdPng" +
            id +
            "\">"
            "<a:extLst><a:ext uri=\"{96DAC541-7B7A-43D3-8B79-37D633B846F1}\">"
            "<asvg:svgBlip "
            "xmlns:asvg=\"http://schemas.microsoft.com/office/drawing/2016/SVG/main\" "
            "r:embed=\"rIdSvg" +
            id +
            "\"/></a:ext></a:extLst></a:blip>"
            "<a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr>"
            "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext " +
            extent +
            "/></a:xfrm>"
            "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
            "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>\n";
    }
    void operator()(const Signatures& s) {
        Table t{.header = {std::string(kSignatureHeadings[0]), std::string(kSignatureHeadings[1]),
                           std::string(kSignatureHeadings[2]), std::string(kSignatureHeadings[3])},
                .wide = true};
        for (const SignatureLine& line : s.lines) {
            t.rows.push_back({line.role, line.name, "", line.date});
        }
        // Never split across pages, as the printed sheet's.
        keepTogether_ = true;
        (*this)(t);
        keepTogether_ = false;
    }
    void operator()(const PageBreak&) { xml += "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>\n"; }

  private:
    static std::string Border(std::string_view side) {
        return "<w:" + std::string(side) +
               " w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>";
    }
    // A row never split across pages; a header row repeated on each page.
    // together: the row keeps with the next, as every row of a table that
    // must not be split across pages but its last.
    void Row(const std::vector<std::string>& cells, std::size_t columns, bool header, Tone tone,
             bool formula, bool tall, bool together = false) {
        xml += "<w:tr><w:trPr><w:cantSplit/>";
        if (header) {
            xml += "<w:tblHeader/>";
        } else if (tall) {
            xml += "<w:trHeight w:val=\"" + std::to_string(Twips(16 * 25.4 / 72)) + "\"/>";
        }
        xml += "</w:trPr>";
        for (std::size_t c = 0; c < columns; ++c) {
            const std::string text = c < cells.size() ? cells[c] : std::string();
            xml += "<w:tc>";
            if (header) {
                xml +=
                    "<w:tcPr><w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"EEEEEE\"/></w:tcPr>";
            }
            xml += std::string("<w:p><w:pPr>") + (together ? "<w:keepNext/>" : "") +
                   "<w:spacing w:before=\"0\" w:after=\"0\"/></w:pPr>" +
                   TextRuns(text, formula, header ? "<w:b/>" : ToneProperties(tone)) +
                   "</w:p></w:tc>";
        }
        xml += "</w:tr>\n";
    }

    const std::vector<DocxPicture>& pictures_;
    bool keepTogether_ = false;  // the table being written is the signatures'
};

std::string Document(const std::string& body) {
    std::string out(kDeclaration);
    out += "<w:document " + std::string(kWordNs) + "><w:body>\n" + body;
    // A4 portrait, margins as the HTML sheet's; the footer on every page.
    out +=
        "<w:sectPr><w:footerReference w:type=\"default\" r:id=\"rIdFooter\"/>"
        "<w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"" +
        std::to_string(Twips(18)) + "\" w:right=\"" + std::to_string(Twips(18)) + "\" w:bottom=\"" +
        std::to_string(Twips(20)) + "\" w:left=\"" + std::to_string(Twips(18)) + "\" w:header=\"" +
        std::to_string(Twips(10)) + "\" w:footer=\"" + std::to_string(Twips(10)) +
        "\" w:gutter=\"0\"/></w:sectPr>\n";
    return out + "</w:body></w:document>\n";
}

std::string Footer() {
    const auto field = [](std::string_view name) {
        return "<w:fldSimple w:instr=\" " + std::string(name) +
               " \"><w:r><w:t>1</w:t></w:r></w:fldSimple>";
    };
    return std::string(kDeclaration) + "<w:ftr " + std::string(kWordNs) +
           "><w:p><w:pPr><w:pStyle w:val=\"Footer\"/><w:jc w:val=\"center\"/></w:pPr>" +
           Runs("第 ") + field("PAGE") + Runs(" 页 共 ") + field("NUMPAGES") + Runs(" 页") +
           "</w:p></w:ftr>\n";
}

// Word's built-in styles by their own names ("heading 1", …), so that a
// template's styles of those names take over; sizes as the HTML sheet's.
std::string Styles() {
    std::string out(kDeclaration);
    out += "<w:styles " + std::string(kWordNs) + ">";
    out += "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"" + std::string(kLatinFace) +
           "\" w:hAnsi=\"" + std::string(kLatinFace) + "\" w:eastAsia=\"" + std::string(kBodyFace) +
           "\" w:cs=\"" + std::string(kLatinFace) +
           "\"/><w:sz w:val=\"21\"/><w:szCs w:val=\"21\"/><w:lang w:val=\"en-US\" "
           "w:eastAsia=\"zh-CN\"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing "
           "w:before=\"60\" w:after=\"60\" w:line=\"312\" w:lineRule=\"auto\"/></w:pPr>"
           "</w:pPrDefault></w:docDefaults>";
    out +=
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name "
        "w:val=\"Normal\"/><w:qFormat/></w:style>";
    struct HeadingStyle {
        int level;
        int halfPoints;
        bool centred;
    };
    for (const HeadingStyle h :
         {HeadingStyle{1, 36, true}, HeadingStyle{2, 26, false}, HeadingStyle{3, 22, false}}) {
        const std::string n = std::to_string(h.level);
        out += "<w:style w:type=\"paragraph\" w:styleId=\"Heading" + n +
               "\"><w:name w:val=\"heading " + n +
               "\"/><w:basedOn w:val=\"Normal\"/><w:next w:val=\"Normal\"/><w:uiPriority "
               "w:val=\"9\"/><w:qFormat/><w:pPr><w:keepNext/><w:keepLines/><w:spacing "
               "w:before=\"" +
               std::to_string(h.level == 1 ? 0 : 240) + "\" w:after=\"80\"/>" +
               (h.centred ? "<w:jc w:val=\"center\"/>" : "") + "<w:outlineLvl w:val=\"" +
               std::to_string(h.level - 1) + "\"/></w:pPr><w:rPr><w:b/><w:sz w:val=\"" +
               std::to_string(h.halfPoints) + "\"/><w:szCs w:val=\"" +
               std::to_string(h.halfPoints) + "\"/></w:rPr></w:style>";
    }
    out +=
        "<w:style w:type=\"paragraph\" w:customStyle=\"1\" w:styleId=\"Report\"><w:name "
        "w:val=\"Report\"/><w:basedOn w:val=\"Normal\"/><w:pPr><w:keepLines/><w:pBdr>"
        "<w:top w:val=\"single\" w:sz=\"4\" w:space=\"4\" w:color=\"888888\"/><w:left "
        "w:val=\"single\" w:sz=\"4\" w:space=\"4\" w:color=\"888888\"/><w:bottom "
        "w:val=\"single\" w:sz=\"4\" w:space=\"4\" w:color=\"888888\"/><w:right "
        "w:val=\"single\" w:sz=\"4\" w:space=\"4\" w:color=\"888888\"/></w:pBdr><w:spacing "
        "w:line=\"240\" w:lineRule=\"auto\"/></w:pPr><w:rPr><w:rFonts w:ascii=\"" +
        std::string(kReportFace) + "\" w:hAnsi=\"" + std::string(kReportFace) + "\" w:eastAsia=\"" +
        std::string(kReportFace) + "\" w:cs=\"" + std::string(kReportFace) +
        "\"/></w:rPr></w:style>";
    out +=
        "<w:style w:type=\"paragraph\" w:styleId=\"Footer\"><w:name w:val=\"footer\"/>"
        "<w:basedOn w:val=\"Normal\"/><w:rPr><w:sz w:val=\"18\"/><w:szCs "
        "w:val=\"18\"/></w:rPr></w:style>";
    return out + "</w:styles>\n";
}

std::string Relationship(const std::string& id, std::string_view type, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + std::string(kRelationshipNs) + "/" +
           std::string(type) + "\" Target=\"" + target + "\"/>";
}

}  // namespace

std::vector<DocxPart> DocxParts(const sheet::Document& doc,
                                const std::vector<DocxPicture>& pictures,
                                const std::string& created) {
    Body body(pictures);
    std::vector<std::string> svgs;
    for (const Block& block : doc.blocks) {
        std::visit(body, block);
        if (const auto* d = std::get_if<sheet::Drawing>(&block)) {
            svgs.push_back(d->svg);
        }
    }
    const std::size_t drawn = std::min(svgs.size(), pictures.size());

    std::vector<DocxPart> parts;
    std::string types(kDeclaration);
    types +=
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Default Extension=\"png\" ContentType=\"image/png\"/>"
        "<Default Extension=\"svg\" ContentType=\"image/svg+xml\"/>"
        "<Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/"
        "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
        "<Override PartName=\"/word/styles.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/"
        ">"
        "<Override PartName=\"/word/footer1.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml\"/"
        ">"
        "<Override PartName=\"/docProps/core.xml\" "
        "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
        "</Types>\n";
    parts.push_back({"[Content_Types].xml", types});
    parts.push_back(
        {"_rels/.rels",
         std::string(kDeclaration) +
             "<Relationships "
             "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
             Relationship("rIdDocument", "officeDocument", "word/document.xml") +
             "<Relationship Id=\"rIdCore\" "
             "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
             "core-properties\" Target=\"docProps/core.xml\"/></Relationships>\n"});
    parts.push_back(
        {"docProps/core.xml",
         std::string(kDeclaration) +
             "<cp:coreProperties "
             "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
             "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
             "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
             "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title>" +
             EscapeMarkup(doc.title) +
             "</dc:title><dc:creator>Veltrane</dc:creator><dcterms:created "
             "xsi:type=\"dcterms:W3CDTF\">" +
             EscapeMarkup(created) + "</dcterms:created></cp:coreProperties>\n"});
    parts.push_back({"word/document.xml", Document(body.xml)});
    parts.push_back({"word/styles.xml", Styles()});
    parts.push_back({"word/footer1.xml", Footer()});
    std::string rels(kDeclaration);
    rels +=
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
        Relationship("rIdStyles", "styles", "styles.xml") +
        Relationship("rIdFooter", "footer", "footer1.xml");
    for (std::size_t i = 0; i < drawn; ++i) {
        const std::string n = std::to_string(i + 1);
        rels += Relationship("rIdPng" + n, "image", "media/drawing" + n + ".png") +
                Relationship("rIdSvg" + n, "image", "media/drawing" + n + ".svg");
    }
    parts.push_back({"word/_rels/document.xml.rels", rels + "</Relationships>\n"});
    for (std::size_t i = 0; i < drawn; ++i) {
        const std::string n = std::to_string(i + 1);
        parts.push_back({"word/media/drawing" + n + ".png", pictures[i].png});
        parts.push_back({"word/media/drawing" + n + ".svg", svgs[i]});
    }
    return parts;
}

}  // namespace veltrane::handoff
