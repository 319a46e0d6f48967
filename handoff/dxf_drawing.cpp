// SPDX-License-Identifier: GPL-3.0-or-later
#include "handoff/dxf_drawing.h"

#include <dxflib/dl_dxf.h>
#include <dxflib/dl_writer_ascii.h>

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "hydraulics/float_chars.h"

namespace veltrane::handoff {

namespace {

// dxflib writes through DL_WriterA, which writes to a file it opens by name;
// this one keeps the text in memory instead, so that the file is written as
// every output is (never half-written, never through a link). Numbers in
// their shortest form that reads back the same.
class StringWriter : public DL_WriterA {
  public:
    explicit StringWriter(std::string& out) : DL_WriterA("", DL_Codes::AC1015), out_(out) {}

    void dxfReal(int gc, double value) const override {
        char buffer[32];
        const auto printed = ToChars(buffer, buffer + sizeof buffer, value == 0 ? 0.0 : value);
        Pair(gc, std::string_view(buffer, static_cast<std::size_t>(printed.ptr - buffer)));
    }
    void dxfInt(int gc, int value) const override { Pair(gc, std::to_string(value)); }
    void dxfHex(int gc, int value) const override {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%0X", static_cast<unsigned>(value));
        Pair(gc, buffer);
    }
    void dxfString(int gc, const char* value) const override { Pair(gc, value); }
    void dxfString(int gc, const std::string& value) const override { Pair(gc, value); }

  private:
    void Pair(int gc, std::string_view value) const {
        out_ += std::to_string(gc);
        out_ += '\n';
        out_ += value;
        out_ += '\n';
    }
    std::string& out_;
};

std::string LayerName(Layer layer) {
    return DxfText(kLayerNames[static_cast<int>(layer)]);
}

DL_Attributes Attributes(Layer layer, bool dashed = false) {
    // Colour and line type by layer; the dashed line its own.
    return DL_Attributes(LayerName(layer), 256, -1, dashed ? "DASHED" : "BYLAYER", 1.0);
}

// One decoded code point and its length in bytes; U+FFFD for broken UTF-8.
std::pair<char32_t, std::size_t> Decode(std::string_view s, std::size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        return {c, 1};
    }
    const std::size_t n = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (n == 0 || i + n > s.size()) {
        return {0xFFFD, 1};
    }
    char32_t cp = c & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
    for (std::size_t k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            return {0xFFFD, 1};
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    const bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
    if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        return {0xFFFD, n};
    }
    return {cp, n};
}

// The code point in GBK (code page 936), the code page of Chinese AutoCAD's
// DXF files; "" where GBK has no such character.
std::string InGbk(char32_t cp) {
    static iconv_t toGbk = iconv_open("GBK", "UTF-32LE");
    if (toGbk == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1))) {
        return {};
    }
    unsigned char in[4] = {static_cast<unsigned char>(cp), static_cast<unsigned char>(cp >> 8),
                           static_cast<unsigned char>(cp >> 16),
                           static_cast<unsigned char>(cp >> 24)};
    char out[8];
    char* inPtr = reinterpret_cast<char*>(in);
    char* outPtr = out;
    std::size_t inLeft = sizeof in, outLeft = sizeof out;
    iconv(toGbk, nullptr, nullptr, nullptr, nullptr);  // a fresh state
    if (iconv(toGbk, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        return {};
    }
    return std::string(out, static_cast<std::size_t>(outPtr - out));
}

}  // namespace

std::string DxfText(std::string_view utf8) {
    std::vector<std::string> pieces;  // a character each
    std::size_t total = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        auto [cp, n] = Decode(utf8, i);
        i += n;
        if (cp < 0x20 || cp == 0x7F) {
            cp = 0xFFFD;  // a TEXT is one line
        }
        std::string piece;
        if (cp < 0x80 && cp != '\\' && cp != '%') {
            piece = static_cast<char>(cp);
        } else if (cp >= 0x80 && cp != 0xFFFD && !(piece = InGbk(cp)).empty()) {
            // In the file's code page.
        } else {
            // Past the BMP, \U+ takes no code point: the replacement character.
            char buffer[12];
            std::snprintf(buffer, sizeof buffer, "\\U+%04X",
                          static_cast<unsigned>(cp > 0xFFFF ? 0xFFFD : cp));
            piece = buffer;
        }
        total += piece.size();
        pieces.push_back(std::move(piece));
    }
    std::string out;
    const std::string ellipsis = InGbk(0x2026);
    for (const std::string& piece : pieces) {
        if (total > kLongestText && out.size() + piece.size() + ellipsis.size() > kLongestText) {
            return out + ellipsis;
        }
        out += piece;
    }
    return out;
}

void DxfDrawing::Line(Layer layer, Point from, Point to, bool dashed) {
    entities_.emplace_back(LineEntity{layer, from, to, dashed});
}

void DxfDrawing::Arc(Layer layer, Point centre, double radius, double angle1, double angle2) {
    entities_.emplace_back(ArcEntity{layer, centre, radius, angle1, angle2});
}

void DxfDrawing::Polyline(Layer layer, const std::vector<Point>& points, bool dashed) {
    if (points.size() >= 2) {
        entities_.emplace_back(PolylineEntity{layer, points, dashed});
    }
}

void DxfDrawing::Text(Point at, double height, std::string_view text, Align align) {
    entities_.emplace_back(TextEntity{at, height, DxfText(text), align});
}

std::string DxfDrawing::Write() const {
    std::string out;
    StringWriter w(out);
    DL_Dxf dxf;
    dxf.writeHeader(w);
    // Chinese AutoCAD's code page, which every DXF reader knows: the texts
    // are in it where it has their characters.
    w.dxfString(9, "$DWGCODEPAGE");
    w.dxfString(3, "ANSI_936");
    // Metres, metric: inserted into a drawing in millimetres, CAD scales it.
    w.dxfString(9, "$INSUNITS");
    w.dxfInt(70, 6);
    w.dxfString(9, "$MEASUREMENT");
    w.dxfInt(70, 1);
    w.sectionEnd();

    w.sectionTables();
    dxf.writeVPort(w);
    w.tableLinetypes(4);
    dxf.writeLinetype(w, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
    dxf.writeLinetype(w, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
    dxf.writeLinetype(w, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    double dash[] = {0.02, -0.01};  // m
    dxf.writeLinetype(w, DL_LinetypeData("DASHED", "Dashed __ __ __", 0, 2, 0.03, dash));
    w.tableEnd();
    w.tableLayers(5);
    dxf.writeLayer(w, DL_LayerData("0", 0), DL_Attributes("", 7, 0, "CONTINUOUS", 1.0));
    // Black/white outlines, blue water, grey marks, black texts.
    static constexpr int kColours[] = {7, 5, 8, 7};
    for (int i = 0; i < 4; ++i) {
        dxf.writeLayer(w, DL_LayerData(LayerName(static_cast<Layer>(i)), 0),
                       DL_Attributes("", kColours[i], 0, "CONTINUOUS", 1.0));
    }
    w.tableEnd();
    // One text style, in a TrueType Song face that has every CJK character:
    // dxflib writes the face as the style's TrueType family (extended data
    // ACAD 1000), where AutoCAD looks for it; SHX fonts have no Chinese.
    w.tableStyle(1);
    dxf.writeStyle(w, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 0.1, "SimSun", ""));
    w.tableEnd();
    dxf.writeView(w);
    dxf.writeUcs(w);
    w.tableAppid(1);
    dxf.writeAppid(w, "ACAD");
    w.tableEnd();
    dxf.writeDimStyle(w, 1, 1, 1, 1, 1);
    dxf.writeBlockRecord(w);
    w.tableEnd();
    w.sectionEnd();

    w.sectionBlocks();
    dxf.writeBlock(w, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(w, "*Model_Space");
    dxf.writeBlock(w, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(w, "*Paper_Space");
    dxf.writeBlock(w, DL_BlockData("*Paper_Space0", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(w, "*Paper_Space0");
    w.sectionEnd();

    w.sectionEntities();
    for (const auto& entity : entities_) {
        if (const auto* l = std::get_if<LineEntity>(&entity)) {
            dxf.writeLine(
                w, DL_LineData(l->from.first, l->from.second, 0, l->to.first, l->to.second, 0),
                Attributes(l->layer, l->dashed));
        } else if (const auto* a = std::get_if<ArcEntity>(&entity)) {
            dxf.writeArc(
                w,
                DL_ArcData(a->centre.first, a->centre.second, 0, a->radius, a->angle1, a->angle2),
                Attributes(a->layer));
        } else if (const auto* p = std::get_if<PolylineEntity>(&entity)) {
            dxf.writePolyline(w, DL_PolylineData(static_cast<int>(p->points.size()), 0, 0, 0),
                              Attributes(p->layer, p->dashed));
            for (const Point& v : p->points) {
                dxf.writeVertex(w, DL_VertexData(v.first, v.second, 0, 0));
            }
            dxf.writePolylineEnd(w);
        } else if (const auto* t = std::get_if<TextEntity>(&entity)) {
            const int h = t->align == Align::Left ? 0 : t->align == Align::Centre ? 1 : 2;
            dxf.writeText(w,
                          DL_TextData(t->at.first, t->at.second, 0, t->at.first, t->at.second, 0,
                                      t->height, 1.0, 0, h, 0, t->text, "Standard", 0.0),
                          Attributes(Layer::Texts));
        }
    }
    w.sectionEnd();
    dxf.writeObjects(w);
    dxf.writeObjectsEnd(w);
    w.dxfEOF();
    return out;
}

}  // namespace veltrane::handoff
