// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_pdf/sheet_pages.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <memory>
#include <numeric>

#include "sheet/signature_words.h"
#include "sheet_pdf/printed_drawing.h"
#include "views/fonts.h"

namespace veltrane::sheet {

namespace {

using Kind = PlacedPiece::Kind;

// The measures of the printed sheet, in points (1/72 in), as the HTML's
// style sheet gives them.
constexpr double kBodyPt = 10.5;
constexpr double kFooterPt = 9;
constexpr double kHeadingPt[] = {18, 13, 11};
constexpr double kHeadingBeforePt[] = {0, 14, 8};
constexpr double kHeadingAfterPt[] = {8, 4, 2};
constexpr double kParagraphGapPt = 3;
constexpr double kTableGapPt = 4;
constexpr double kCellPadXPt = 3;  // left and right of a cell's text
constexpr double kCellPadYPt = 2;  // above and below it
constexpr double kPrePadPt = 6;
constexpr double kFooterBandPt = 20;  // kept free at the foot of the body

const QColor kPassColour(0x00, 0x64, 0x00);
const QColor kFailColour(0xb2, 0x18, 0x2b);
const QColor kNoteColour(0x44, 0x44, 0x44);
const QColor kHeaderFill(0xee, 0xee, 0xee);
const QColor kPreBorder(0x88, 0x88, 0x88);

QString Q(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QFont SongFont(double points, bool bold = false) {
    QFont font(QString::fromUtf8(views::kSongFaces[0].data(),
                                 static_cast<qsizetype>(views::kSongFaces[0].size())));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QColor ColourOf(Tone tone) {
    switch (tone) {
        case Tone::Pass:
            return kPassColour;
        case Tone::Fail:
            return kFailColour;
        case Tone::Note:
            return kNoteColour;
        case Tone::Normal:
            break;
    }
    return Qt::black;
}

// Text wrapped to a width: a QTextLayout and its height. In a formula text,
// "^{…}" becomes a superscript.
struct TextBox {
    std::unique_ptr<QTextLayout> layout;
    double width = 0;  // of the widest line
    double height = 0;
    QColor colour = Qt::black;
    std::string text;  // as the document has it, for the layout's checks
};

TextBox MakeText(const std::string& text, const QFont& font, QPaintDevice* device, double width,
                 QColor colour, bool formula) {
    TextBox box;
    box.text = text;
    box.colour = colour;
    QString shown = Q(text);
    QList<QTextLayout::FormatRange> ranges;
    if (formula) {
        for (qsizetype at = shown.indexOf(QStringLiteral("^{")); at >= 0;
             at = shown.indexOf(QStringLiteral("^{"), at)) {
            const qsizetype end = shown.indexOf(u'}', at);
            if (end < 0) {
                break;
            }
            shown.remove(end, 1);
            shown.remove(at, 2);
            QTextLayout::FormatRange r;
            r.start = static_cast<int>(at);
            r.length = static_cast<int>(end - at - 2);
            r.format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
            ranges.push_back(r);
        }
    }
    box.layout = std::make_unique<QTextLayout>(shown, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box.layout->setTextOption(option);
    box.layout->setFormats(ranges);
    box.layout->beginLayout();
    double y = 0;
    for (QTextLine line = box.layout->createLine(); line.isValid();
         line = box.layout->createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
        box.width = std::max(box.width, line.naturalTextWidth());
    }
    box.layout->endLayout();
    box.height = y;
    return box;
}

struct Row {
    std::vector<TextBox> cells;
    double height = 0;
    Tone tone = Tone::Normal;
};

// One block of the document, measured.
struct Piece {
    Kind kind = Kind::Lines;
    std::size_t block = 0;  // in the document
    bool heading = false;
    double before = 0;  // space above, dropped at the top of a page
    double after = 0;   // space below
    // Headings and paragraphs: their text; the report: its lines.
    TextBox text;
    std::vector<TextBox> lines;
    Qt::Alignment align = Qt::AlignLeft;
    // Tables.
    std::vector<double> columns;  // left edge of each column, and the right edge of the last
    double padY = 0;              // above and below a cell's text
    std::optional<Row> header;
    std::vector<Row> rows;
    bool borders = true;
    // Drawings and signatures.
    const Drawing* drawing = nullptr;
    int drawingIndex = 0;
    double height = 0;  // of an unbreakable piece
};

class Measures {
  public:
    Measures(QPaintDevice* device, double width)
        : device_(device), width_(width), dpi_(device->logicalDpiY()) {}

    double Pt(double points) const { return points * dpi_ / 72.0; }
    double width() const { return width_; }
    QPaintDevice* device() const { return device_; }

  private:
    QPaintDevice* device_;
    double width_;
    double dpi_;
};

std::vector<double> ColumnEdges(const std::vector<double>& natural,
                                const std::vector<double>& least, double width) {
    // All on one line where that fits; else each column gets its least width
    // and a share of the rest in proportion to what it would still take.
    const double most = std::accumulate(natural.begin(), natural.end(), 0.0);
    const double some = std::accumulate(least.begin(), least.end(), 0.0);
    std::vector<double> widths(natural.size());
    for (std::size_t c = 0; c < natural.size(); ++c) {
        if (most <= width) {
            widths[c] = natural[c];
        } else if (some >= width || most <= some) {
            widths[c] = width * least[c] / some;
        } else {
            widths[c] = least[c] + (natural[c] - least[c]) * (width - some) / (most - some);
        }
    }
    std::vector<double> edges(1, 0);
    for (double w : widths) {
        edges.push_back(edges.back() + w);
    }
    return edges;
}

Piece MeasureTable(const Table& t, const Measures& m) {
    Piece p;
    p.kind = Kind::TableRow;
    p.borders = !t.keyValue;
    p.padY = m.Pt(t.keyValue ? 1 : kCellPadYPt);
    p.before = m.Pt(kTableGapPt);
    p.after = m.Pt(kTableGapPt);
    const double padX = m.Pt(kCellPadXPt);
    const double padY = m.Pt(t.keyValue ? 1 : kCellPadYPt);
    const QFont body = SongFont(kBodyPt);
    const QFont bold = SongFont(kBodyPt, true);
    std::size_t count = t.header.size();
    for (const auto& r : t.rows) {
        count = std::max(count, r.size());
    }
    // Each column's width on one line (natural) and its least width, that of
    // its longest piece that cannot be broken (a number, a chainage, four
    // Chinese characters, so that a name stays readable), as a browser lays
    // a table out.
    std::vector<double> natural(count, 2 * padX);
    std::vector<double> least(count, 2 * padX);
    constexpr int kChineseRun = 4;
    const auto widen = [&](const std::vector<std::string>& cells, const QFont& font) {
        const QFontMetricsF metrics(font, m.device());
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const QString text = Q(cells[c]);
            natural[c] = std::max(natural[c], metrics.horizontalAdvance(text) + 2 * padX + m.Pt(1));
            QString piece;
            int chinese = 0;
            const auto close = [&] {
                least[c] =
                    std::max(least[c], metrics.horizontalAdvance(piece) + 2 * padX + m.Pt(1));
                piece.clear();
                chinese = 0;
            };
            for (const QChar ch : text) {
                const bool wide = ch.unicode() >= 0x2E80;
                if (ch.isSpace() || (wide && chinese == 0 && !piece.isEmpty())) {
                    close();
                }
                if (!ch.isSpace()) {
                    piece += ch;
                    chinese += wide ? 1 : 0;
                    if (chinese == kChineseRun) {
                        close();
                    }
                }
            }
            close();
        }
    };
    widen(t.header, bold);
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        const bool fail = r < t.rowTones.size() && t.rowTones[r] == Tone::Fail;
        widen(t.rows[r], fail ? bold : body);
    }
    if (t.wide) {
        // The whole width, shared out beyond what each column needs.
        const double total = std::accumulate(natural.begin(), natural.end(), 0.0);
        if (total < m.width()) {
            for (double& w : natural) {
                w += (m.width() - total) / static_cast<double>(natural.size());
            }
        }
    }
    p.columns = ColumnEdges(natural, least, m.width());
    const auto makeRow = [&](const std::vector<std::string>& cells, const QFont& font, Tone tone) {
        Row row;
        row.tone = tone;
        for (std::size_t c = 0; c < count; ++c) {
            const std::string& text = c < cells.size() ? cells[c] : std::string();
            const double w = std::max(1.0, p.columns[c + 1] - p.columns[c] - 2 * padX);
            row.cells.push_back(MakeText(text, font, m.device(), w, ColourOf(tone), t.formula));
            row.height = std::max(row.height, row.cells.back().height + 2 * padY);
        }
        return row;
    };
    if (!t.header.empty()) {
        p.header = makeRow(t.header, bold, Tone::Normal);
    }
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        const Tone tone = r < t.rowTones.size() ? t.rowTones[r] : Tone::Normal;
        p.rows.push_back(makeRow(t.rows[r], tone == Tone::Fail ? bold : body, tone));
    }
    return p;
}

struct Measurer {
    const Measures& m;
    int drawings = 0;

    Piece operator()(const Heading& h) const {
        const std::size_t level = static_cast<std::size_t>(std::clamp(h.level, 1, 3) - 1);
        Piece p;
        p.kind = Kind::Heading;
        p.heading = true;
        p.before = m.Pt(kHeadingBeforePt[level]);
        p.after = m.Pt(kHeadingAfterPt[level]);
        p.align = level == 0 ? Qt::AlignHCenter : Qt::AlignLeft;
        p.text = MakeText(h.text, SongFont(kHeadingPt[level], true), m.device(), m.width(),
                          Qt::black, false);
        return p;
    }
    Piece operator()(const Paragraph& para) const {
        Piece p;
        p.kind = Kind::Lines;
        p.before = m.Pt(kParagraphGapPt);
        p.after = m.Pt(kParagraphGapPt);
        p.text = MakeText(para.text, SongFont(kBodyPt, para.tone == Tone::Fail), m.device(),
                          m.width(), ColourOf(para.tone), para.formula);
        p.heading = para.keepWithNext;  // kept with what it introduces
        return p;
    }
    Piece operator()(const Table& t) const { return MeasureTable(t, m); }
    Piece operator()(const Verbatim& v) const {
        Piece p;
        p.kind = Kind::Verbatim;
        p.before = m.Pt(kTableGapPt);
        p.after = m.Pt(kTableGapPt);
        const QFont font = SongFont(kBodyPt);
        std::string::size_type from = 0;
        for (;;) {
            const auto end = v.text.find('\n', from);
            const std::string line = v.text.substr(from, end - from);
            p.lines.push_back(MakeText(line, font, m.device(), m.width() - 2 * m.Pt(kPrePadPt),
                                       Qt::black, false));
            p.height += p.lines.back().height;
            if (end == std::string::npos) {
                break;
            }
            from = end + 1;
        }
        p.height += 2 * m.Pt(kPrePadPt);
        return p;
    }
    Piece operator()(const Drawing& d) {
        Piece p;
        p.kind = Kind::Drawing;
        p.drawing = &d;
        p.drawingIndex = drawings++;
        p.before = m.Pt(kParagraphGapPt * 2);
        p.after = m.Pt(kParagraphGapPt * 2);
        // The drawing's own proportions, from its viewBox.
        const auto box = d.svg.find("viewBox=\"");
        double w = 4;
        double h = 3;
        if (box != std::string::npos) {
            double x0 = 0;
            double y0 = 0;
            if (std::sscanf(d.svg.c_str() + box + 9, "%lf %lf %lf %lf", &x0, &y0, &w, &h) != 4 ||
                w <= 0 || h <= 0) {
                w = 4;
                h = 3;
            }
        }
        p.height = d.printedWidth * m.width() * h / w;
        return p;
    }
    Piece operator()(const Signatures& s) const {
        // A bordered table, kept whole, with room to sign in each row.
        Table t{.header = {kSignatureHeadings.begin(), kSignatureHeadings.end()}};
        for (const SignatureLine& line : s.lines) {
            t.rows.push_back({line.role, line.name, "", line.date});
        }
        Piece p = MeasureTable(t, m);
        p.kind = Kind::Signatures;
        p.before = m.Pt(12);
        // The signature column takes what the others leave.
        const double role = p.columns[1] - p.columns[0];
        const double rest = m.width() - role;
        p.columns = {0, role, role + rest * 0.3, role + rest * 0.7, m.width()};
        p.height = p.header->height;
        for (Row& row : p.rows) {
            row.height = std::max(row.height, m.Pt(22));
            p.height += row.height;
        }
        return p;
    }
    Piece operator()(const PageBreak&) const { return {}; }
};

// A piece, or part of one, at a place on a page.
struct Placed {
    const Piece* piece = nullptr;
    Kind kind = Kind::Lines;
    int from = 0;  // lines or rows [from, to)
    int to = 0;
    double top = 0;
    bool repeated = false;  // a table header again on a later page
    // A row taller than a page, in slices cut between its lines: the part
    // of the row from sliceTop to sliceBottom (units from the row's top).
    bool sliced = false;
    double sliceTop = 0;
    double sliceBottom = 0;
};

using Page = std::vector<Placed>;

// Where a row may be cut: below each line of its tallest cell, from the
// row's top; the last is the row's height.
std::vector<double> RowCuts(const Row& row, double padY) {
    const TextBox* tallest = &row.cells.front();
    for (const TextBox& cell : row.cells) {
        if (cell.height > tallest->height) {
            tallest = &cell;
        }
    }
    std::vector<double> cuts;
    for (int l = 0; l < tallest->layout->lineCount(); ++l) {
        const QTextLine line = tallest->layout->lineAt(l);
        cuts.push_back(padY + line.y() + line.height());
    }
    cuts.push_back(row.height);
    return cuts;
}

// The least of a piece that may start a page: its first line, its header
// and first row (or the row's first line, where the row is taller than a
// page of height bottom), or the whole of it.
double LeastStart(const Piece& p, double bottom) {
    switch (p.kind) {
        case Kind::Heading:
        case Kind::Lines:
            return p.text.layout->lineCount() > 0 ? p.text.layout->lineAt(0).height() : 0;
        case Kind::TableHeader:
        case Kind::TableRow: {
            const double header = p.header ? p.header->height : 0;
            if (p.rows.empty()) {
                return header;
            }
            const double row = p.rows[0].height;
            return header + (header + row > bottom ? RowCuts(p.rows[0], p.padY).front() : row);
        }
        case Kind::Verbatim:
        case Kind::Drawing:
        case Kind::Signatures:
            return p.height;
    }
    return 0;
}

// A drawing keeps the signature table that follows it on its page, so
// that the signatures never stand alone on a last page: the room it needs.
double SignaturesAfter(const std::vector<Piece>& pieces, std::size_t i) {
    if (pieces[i].kind != Kind::Drawing || i + 1 >= pieces.size() ||
        pieces[i + 1].kind != Kind::Signatures) {
        return 0;
    }
    return pieces[i].after + pieces[i + 1].before + pieces[i + 1].height;
}

// What a heading (or a paragraph kept with the next) needs on its page: all
// of itself, of any such pieces right after it, and the start of what they
// introduce.
double NeedAfter(const std::vector<Piece>& pieces, std::size_t i, double bottom) {
    double need = pieces[i].text.height + pieces[i].after;
    std::size_t next = i + 1;
    for (; next < pieces.size() && pieces[next].heading; ++next) {
        need += pieces[next].before + pieces[next].text.height + pieces[next].after;
    }
    if (next < pieces.size()) {
        need +=
            pieces[next].before + LeastStart(pieces[next], bottom) + SignaturesAfter(pieces, next);
    }
    return need;
}

// The pieces of one part (which starts a page) on pages of height bottom.
std::vector<Page> Paginate(const std::vector<Piece>& pieces, double bottom) {
    std::vector<Page> pages(1);
    double y = 0;
    const auto newPage = [&] {
        pages.emplace_back();
        y = 0;
    };
    const auto room = [&](double need) { return y + need <= bottom || y == 0; };
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        const double gap = y == 0 ? 0 : p.before;
        switch (p.kind) {
            case Kind::Heading: {
                // With the start of what follows it, or on the next page.
                if (!room(gap + NeedAfter(pieces, i, bottom))) {
                    newPage();
                }
                y += y == 0 ? 0 : p.before;
                pages.back().push_back({&p, Kind::Heading, 0, p.text.layout->lineCount(), y});
                y += p.text.height;
                break;
            }
            case Kind::Lines: {
                if (p.heading && !room(gap + NeedAfter(pieces, i, bottom))) {
                    newPage();
                }
                y += y == 0 ? 0 : p.before;
                const int count = p.text.layout->lineCount();
                int from = 0;
                double top = y;
                double used = 0;
                for (int l = 0; l < count; ++l) {
                    const double h = p.text.layout->lineAt(l).height();
                    if (top + used + h > bottom && (l > from || top > 0)) {
                        if (l > from) {
                            pages.back().push_back({&p, Kind::Lines, from, l, top});
                        }
                        newPage();
                        from = l;
                        top = 0;
                        used = 0;
                    }
                    used += h;
                }
                pages.back().push_back({&p, Kind::Lines, from, count, top});
                y = top + used;
                break;
            }
            case Kind::TableHeader:
            case Kind::TableRow: {
                const double headerHeight = p.header ? p.header->height : 0;
                if (!room(gap + LeastStart(p, bottom))) {
                    newPage();
                }
                y += y == 0 ? 0 : p.before;
                if (p.header) {
                    pages.back().push_back({&p, Kind::TableHeader, 0, 0, y});
                    y += headerHeight;
                }
                int from = 0;
                double top = y;
                const auto continuePage = [&] {
                    newPage();
                    if (p.header) {
                        pages.back().push_back({&p, Kind::TableHeader, 0, 0, y, true});
                        y += headerHeight;
                    }
                };
                for (int r = 0; r < static_cast<int>(p.rows.size()); ++r) {
                    const Row& row = p.rows[static_cast<std::size_t>(r)];
                    const double h = row.height;
                    if (y + h > bottom && r > from) {
                        pages.back().push_back({&p, Kind::TableRow, from, r, top});
                        continuePage();
                        from = r;
                        top = y;
                    }
                    if (y + h > bottom) {
                        // Taller than what a page leaves under the header:
                        // in slices, each cut below a line.
                        const std::vector<double> cuts = RowCuts(row, p.padY);
                        double at = 0;
                        while (at < h) {
                            double cut = at;
                            for (const double c : cuts) {
                                if (c > at && c - at <= bottom - y) {
                                    cut = c;
                                }
                            }
                            if (cut == at) {  // not one line fits: take one anyway
                                cut = *std::upper_bound(cuts.begin(), cuts.end(), at);
                            }
                            pages.back().push_back(
                                {&p, Kind::TableRow, r, r + 1, y, false, true, at, cut});
                            y += cut - at;
                            at = cut;
                            if (at < h) {
                                continuePage();
                            }
                        }
                        from = r + 1;
                        top = y;
                        continue;
                    }
                    y += h;
                }
                if (from < static_cast<int>(p.rows.size())) {
                    pages.back().push_back(
                        {&p, Kind::TableRow, from, static_cast<int>(p.rows.size()), top});
                }
                break;
            }
            case Kind::Verbatim:
            case Kind::Drawing:
            case Kind::Signatures:
                if (!room(gap + p.height + SignaturesAfter(pieces, i))) {
                    newPage();
                }
                y += y == 0 ? 0 : p.before;
                pages.back().push_back({&p, p.kind, 0, 0, y});
                y += p.height;
                break;
        }
        y += p.after;
    }
    if (pages.back().empty() && pages.size() > 1) {
        pages.pop_back();
    }
    return pages;
}

// A document's parts: each starts a new page.
struct PartBlock {
    const Block* block;
    std::size_t index;  // in the document
};

std::vector<std::vector<PartBlock>> Parts(const Document& document) {
    std::vector<std::vector<PartBlock>> parts(1);
    for (std::size_t i = 0; i < document.blocks.size(); ++i) {
        if (std::holds_alternative<PageBreak>(document.blocks[i])) {
            parts.emplace_back();
        } else {
            parts.back().push_back({&document.blocks[i], i});
        }
    }
    return parts;
}

struct LaidOutPart {
    std::vector<Piece> pieces;
    std::vector<Page> pages;
};

LaidOutPart LayOutPart(const std::vector<PartBlock>& part, const Measures& m, double bottom,
                       int& drawings) {
    LaidOutPart out;
    Measurer measurer{m, drawings};
    out.pieces.reserve(part.size());
    for (const PartBlock& b : part) {
        out.pieces.push_back(std::visit(measurer, *b.block));
        out.pieces.back().block = b.index;
    }
    drawings = measurer.drawings;
    out.pages = Paginate(out.pieces, bottom);
    return out;
}

void DrawRow(QPainter& painter, const Piece& p, const Row& row, double top, double left,
             double padX, double padY, bool header) {
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
        const QRectF cell(left + p.columns[c], top, p.columns[c + 1] - p.columns[c], row.height);
        if (p.borders) {
            if (header) {
                painter.fillRect(cell, kHeaderFill);
            }
            painter.setPen(QPen(Qt::black, 0));
            painter.drawRect(cell);
        }
        painter.setPen(row.cells[c].colour);
        row.cells[c].layout->draw(&painter, QPointF(cell.left() + padX, cell.top() + padY));
    }
}

// The part of a row from sliceTop to sliceBottom (from the row's top), its
// cells framed, each line drawn in the slice where it starts.
void DrawRowSlice(QPainter& painter, const Piece& p, const Row& row, double top, double left,
                  double padX, double sliceTop, double sliceBottom) {
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
        const QRectF cell(left + p.columns[c], top, p.columns[c + 1] - p.columns[c],
                          sliceBottom - sliceTop);
        if (p.borders) {
            painter.setPen(QPen(Qt::black, 0));
            painter.drawRect(cell);
        }
        painter.setPen(row.cells[c].colour);
        const QTextLayout& layout = *row.cells[c].layout;
        const QPointF origin(cell.left() + padX, top + p.padY - sliceTop);
        for (int l = 0; l < layout.lineCount(); ++l) {
            const QTextLine line = layout.lineAt(l);
            const double lineTop = p.padY + line.y();
            if (lineTop >= sliceTop - 0.5 && lineTop < sliceBottom - 0.5) {
                line.draw(&painter, origin);
            }
        }
    }
}

void DrawPage(QPainter& painter, const Page& page, const Measures& m, const QRectF& body,
              int number, int total, std::string& error) {
    const double padX = m.Pt(kCellPadXPt);
    for (const Placed& placed : page) {
        const Piece& p = *placed.piece;
        const double top = body.top() + placed.top;
        switch (placed.kind) {
            case Kind::Heading:
            case Kind::Lines: {
                painter.setPen(p.text.colour);
                const double first = placed.from < p.text.layout->lineCount()
                                         ? p.text.layout->lineAt(placed.from).y()
                                         : 0;
                double dx = 0;
                if (p.align == Qt::AlignHCenter) {
                    dx = (m.width() - p.text.width) / 2;
                }
                for (int l = placed.from; l < placed.to; ++l) {
                    p.text.layout->lineAt(l).draw(&painter, QPointF(body.left() + dx, top - first));
                }
                break;
            }
            case Kind::TableHeader:
                DrawRow(painter, p, *p.header, top, body.left(), padX,
                        m.Pt(p.borders ? kCellPadYPt : 1), true);
                break;
            case Kind::TableRow: {
                if (placed.sliced) {
                    DrawRowSlice(painter, p, p.rows[static_cast<std::size_t>(placed.from)], top,
                                 body.left(), padX, placed.sliceTop, placed.sliceBottom);
                    break;
                }
                double y = top;
                for (int r = placed.from; r < placed.to; ++r) {
                    const Row& row = p.rows[static_cast<std::size_t>(r)];
                    DrawRow(painter, p, row, y, body.left(), padX,
                            m.Pt(p.borders ? kCellPadYPt : 1), false);
                    y += row.height;
                }
                break;
            }
            case Kind::Verbatim: {
                const double pad = m.Pt(kPrePadPt);
                painter.setPen(QPen(kPreBorder, 0));
                painter.drawRect(QRectF(body.left(), top, m.width(), p.height));
                painter.setPen(Qt::black);
                double y = top + pad;
                for (const TextBox& line : p.lines) {
                    line.layout->draw(&painter, QPointF(body.left() + pad, y));
                    y += line.height;
                }
                break;
            }
            case Kind::Drawing: {
                const auto drawing = SplitDrawing(p.drawing->svg);
                if (drawing == nullptr) {
                    error = "a drawing could not be read";
                    break;
                }
                const double width = p.drawing->printedWidth * m.width();
                drawing->Draw(painter,
                              QRectF(body.left() + (m.width() - width) / 2, top, width, p.height));
                break;
            }
            case Kind::Signatures: {
                DrawRow(painter, p, *p.header, top, body.left(), padX, m.Pt(kCellPadYPt), true);
                double y = top + p.header->height;
                for (const Row& row : p.rows) {
                    DrawRow(painter, p, row, y, body.left(), padX, m.Pt(kCellPadYPt), false);
                    y += row.height;
                }
                break;
            }
        }
    }
    // The footer, centred under the body.
    const QString footer = QStringLiteral("第 %1 页 共 %2 页").arg(number).arg(total);
    const QFont font = SongFont(kFooterPt);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, m.device());
    painter.drawText(QPointF(body.left() + (m.width() - metrics.horizontalAdvance(footer)) / 2,
                             body.bottom() - metrics.descent()),
                     footer);
}

std::string PieceText(const Placed& placed) {
    const Piece& p = *placed.piece;
    std::string text;
    const auto joinRow = [](const Row& row) {
        std::string s;
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            s += (c == 0 ? "" : "\t") + row.cells[c].text;
        }
        return s;
    };
    switch (placed.kind) {
        case Kind::Heading:
        case Kind::Lines: {
            const QString all = p.text.layout->text();
            for (int l = placed.from; l < placed.to; ++l) {
                const QTextLine line = p.text.layout->lineAt(l);
                text += all.mid(line.textStart(), line.textLength()).toStdString();
            }
            return text;
        }
        case Kind::TableHeader:
            return joinRow(*p.header);
        case Kind::TableRow:
            for (int r = placed.from; r < placed.to; ++r) {
                text +=
                    (r == placed.from ? "" : "\n") + joinRow(p.rows[static_cast<std::size_t>(r)]);
            }
            return text;
        case Kind::Verbatim:
            for (const TextBox& line : p.lines) {
                text += (text.empty() ? "" : "\n") + line.text;
            }
            return text;
        case Kind::Drawing:
            return std::to_string(p.drawingIndex);
        case Kind::Signatures:
            text = joinRow(*p.header);
            for (const Row& row : p.rows) {
                text += "\n" + joinRow(row);
            }
            return text;
    }
    return text;
}

double BodyBottom(const Measures& m, double height) {
    return height - m.Pt(kFooterBandPt);
}

}  // namespace

double ContentHeight(QPaintDevice* device, double bodyHeight) {
    return BodyBottom(Measures(device, 0), bodyHeight);
}

std::vector<PageContent> LayOutPages(const Document& document, QPaintDevice* device,
                                     const QSizeF& body) {
    const Measures m(device, body.width());
    std::vector<PageContent> out;
    int drawings = 0;
    for (const auto& part : Parts(document)) {
        const LaidOutPart laid = LayOutPart(part, m, BodyBottom(m, body.height()), drawings);
        for (const Page& page : laid.pages) {
            PageContent content;
            for (const Placed& placed : page) {
                double height = 0;
                const Piece& p = *placed.piece;
                switch (placed.kind) {
                    case Kind::Heading:
                    case Kind::Lines:
                        for (int l = placed.from; l < placed.to; ++l) {
                            height += p.text.layout->lineAt(l).height();
                        }
                        break;
                    case Kind::TableHeader:
                        height = p.header->height;
                        break;
                    case Kind::TableRow:
                        for (int r = placed.from; r < placed.to; ++r) {
                            height += p.rows[static_cast<std::size_t>(r)].height;
                        }
                        if (placed.sliced) {
                            height = placed.sliceBottom - placed.sliceTop;
                        }
                        break;
                    default:
                        height = p.height;
                }
                const bool continued = placed.sliced && placed.sliceTop > 0;
                content.push_back({.kind = placed.kind,
                                   .block = p.block,
                                   .repeated = placed.repeated,
                                   .continued = continued,
                                   .text = continued ? std::string() : PieceText(placed),
                                   .top = placed.top,
                                   .bottom = placed.top + height});
            }
            out.push_back(std::move(content));
        }
    }
    return out;
}

std::string PrintPages(const Document& document, QPagedPaintDevice& device, QPainter& painter) {
    const QRectF body = device.pageLayout().paintRectPixels(device.logicalDpiY()).toRectF();
    // The page's own origin is the body's corner.
    const QRectF area(0, 0, body.width(), body.height());
    const Measures m(&device, body.width());
    const double bottom = BodyBottom(m, body.height());
    const auto parts = Parts(document);
    // The total first: each part starts a page, so each paginates alone.
    int total = 0;
    {
        int drawings = 0;
        for (const auto& part : parts) {
            total += static_cast<int>(LayOutPart(part, m, bottom, drawings).pages.size());
        }
    }
    int number = 0;
    int drawings = 0;
    std::string error;
    for (const auto& part : parts) {
        const LaidOutPart laid = LayOutPart(part, m, bottom, drawings);
        for (const Page& page : laid.pages) {
            if (number > 0 && !device.newPage()) {
                return "a new page could not be started";
            }
            ++number;
            DrawPage(painter, page, m, area, number, total, error);
            if (!error.empty()) {
                return error;
            }
        }
    }
    return {};
}

}  // namespace veltrane::sheet
