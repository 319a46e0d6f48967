// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_pdf/pdf_printer.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextObjectInterface>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "sheet/html_writer.h"

namespace veltrane::sheet {

namespace {

constexpr int kSvgObject = QTextFormat::UserObject + 1;
constexpr int kDrawingIndex = QTextFormat::UserProperty + 1;

// A drawing split for printing. Qt SVG draws text as glyph outlines, which
// makes a PDF page of a drawing some 500 KB and slow to write; the labels are
// therefore taken out and drawn as text, and QSvgRenderer draws the rest.
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
};

// The labels of a drawing with their positions, following translate()s of
// enclosing groups, which is all the drawing code uses.
std::vector<Label> ReadLabels(const QByteArray& svg) {
    std::vector<Label> labels;
    std::vector<QPointF> offsets{QPointF()};
    QXmlStreamReader xml(svg);
    static const QRegularExpression kTranslate(
        QStringLiteral("translate\\(\\s*([-0-9.e]+)[ ,]+([-0-9.e]+)\\s*\\)"));
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement && xml.name() == u"g") {
            QPointF offset = offsets.back();
            const auto m = kTranslate.match(xml.attributes().value("transform").toString());
            if (m.hasMatch()) {
                offset += QPointF(m.captured(1).toDouble(), m.captured(2).toDouble());
            }
            offsets.push_back(offset);
        } else if (token == QXmlStreamReader::EndElement && xml.name() == u"g") {
            offsets.pop_back();
        } else if (token == QXmlStreamReader::StartElement && xml.name() == u"text") {
            const auto a = xml.attributes();
            Label l;
            l.at = offsets.back() + QPointF(a.value("x").toDouble(), a.value("y").toDouble());
            l.size = a.value("font-size").toDouble();
            l.anchor = a.value("text-anchor").toString();
            l.fill = QColor(a.value("fill").toString());
            l.text = xml.readElementText();
            labels.push_back(l);
        }
    }
    return labels;
}

std::unique_ptr<PrintedDrawing> SplitDrawing(const std::string& svg) {
    const QByteArray bytes = QByteArray::fromStdString(svg);
    auto d = std::make_unique<PrintedDrawing>();
    d->labels = ReadLabels(bytes);
    static const QRegularExpression kTextElement(QStringLiteral("<text[^>]*>[^<]*</text>"));
    d->shapes =
        std::make_unique<QSvgRenderer>(QString::fromUtf8(bytes).remove(kTextElement).toUtf8());
    if (!d->shapes->isValid()) {
        return nullptr;
    }
    return d;
}

// Draws the i-th drawing: its shapes through Qt SVG, its labels as text.
class SvgObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

  public:
    explicit SvgObject(std::vector<std::unique_ptr<PrintedDrawing>>& drawings)
        : drawings_(drawings) {}

    QSizeF intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) override {
        const PrintedDrawing* d = Find(format);
        if (d == nullptr) {
            return {};
        }
        // Four fifths of the text width, so that a sheet's drawing, conclusion
        // and signatures tend to share a page; the drawing's own proportions.
        const QSizeF own = d->shapes->viewBoxF().size();
        const double width = 0.8 * (doc->pageSize().width() - 2 * doc->documentMargin());
        return {width, width * own.height() / own.width()};
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override {
        const PrintedDrawing* d = Find(format);
        if (d == nullptr) {
            return;
        }
        d->shapes->render(painter, rect);
        const QRectF box = d->shapes->viewBoxF();
        const double scale = rect.width() / box.width();
        painter->save();
        for (const Label& l : d->labels) {
            QFont font(QStringLiteral("SimSun"));
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(l.size * scale))));
            painter->setFont(font);
            painter->setPen(l.fill);
            QPointF at = rect.topLeft() + (l.at - box.topLeft()) * scale;
            const double width = QFontMetricsF(font, painter->device()).horizontalAdvance(l.text);
            if (l.anchor == u"middle") {
                at.rx() -= width / 2;
            } else if (l.anchor == u"end") {
                at.rx() -= width;
            }
            painter->drawText(at, l.text);
        }
        painter->restore();
    }

  private:
    const PrintedDrawing* Find(const QTextFormat& format) const {
        const int i = format.intProperty(kDrawingIndex);
        return i >= 0 && static_cast<std::size_t>(i) < drawings_.size()
                   ? drawings_[static_cast<std::size_t>(i)].get()
                   : nullptr;
    }

    std::vector<std::unique_ptr<PrintedDrawing>>& drawings_;
};

// Qt's own notes (no runtime folder, fonts it falls back from) are not the
// user's business in a command-line tool; errors still get through.
void QuietNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    qInstallMessageHandler(QuietNotes);
    static int argc = 3;
    static char name[] = "veltrane-calc";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    static QGuiApplication app(argc, argv);
}

// The song faces the windows use, in the order the sheet's style names them.
void InstallFontSubstitutes() {
    const QStringList faces = {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                               QStringLiteral("Noto Serif CJK SC"),
                               QStringLiteral("WenQuanYi Zen Hei")};
    for (const QString& name : {QStringLiteral("SimSun"), QStringLiteral("宋体")}) {
        QFont::insertSubstitutions(name, faces);
    }
}

// Each <img src="drawing:i"> becomes an object that SvgObject draws.
void ReplaceDrawings(QTextDocument& doc) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isImageFormat()) {
                continue;
            }
            const QString name = format.toImageFormat().name();
            if (!name.startsWith(QStringLiteral("drawing:"))) {
                continue;
            }
            QTextCharFormat object;
            object.setObjectType(kSvgObject);
            object.setProperty(kDrawingIndex, name.mid(8).toInt());
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.insertText(QString(QChar::ObjectReplacementCharacter), object);
        }
    }
}

}  // namespace

namespace {

// The document in pieces that each start on a new page: one per reach of a
// canal. Laying each out on its own keeps the time linear in the reaches.
std::vector<Document> Parts(const Document& document) {
    std::vector<Document> parts(1, Document{.title = document.title});
    for (const Block& block : document.blocks) {
        if (std::holds_alternative<PageBreak>(block)) {
            parts.push_back(Document{.title = document.title});
        } else {
            parts.back().blocks.push_back(block);
        }
    }
    return parts;
}

// Prints one part from a new page on; returns false when a drawing is bad.
bool PrintPart(const Document& part, QPdfWriter& writer, QPainter& painter, bool& firstPage) {
    std::vector<std::unique_ptr<PrintedDrawing>> drawings;
    for (const Block& block : part.blocks) {
        if (const auto* d = std::get_if<Drawing>(&block)) {
            auto split = SplitDrawing(d->svg);
            if (split == nullptr) {
                return false;
            }
            drawings.push_back(std::move(split));
        }
    }
    // Laid out in the writer's own units, so that text is measured as printed.
    const QRectF body = writer.pageLayout().paintRectPixels(writer.resolution());
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    QFont font(QStringLiteral("SimSun"));
    font.setPointSizeF(10.5);
    doc.setDefaultFont(font);
    SvgObject svg(drawings);
    doc.documentLayout()->registerHandler(kSvgObject, &svg);
    doc.setDocumentMargin(0);
    doc.setHtml(QString::fromStdString(WriteHtmlForPrinting(part)));
    ReplaceDrawings(doc);
    doc.setPageSize(body.size());
    for (int page = 0; page < doc.pageCount(); ++page) {
        if (!firstPage) {
            writer.newPage();
        }
        firstPage = false;
        painter.save();
        const double top = page * body.height();
        painter.translate(0, -top);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, top, body.width(), body.height());
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return true;
}

}  // namespace

PdfOutput PrintPdf(const Document& document) {
    EnsureGuiApplication();
    InstallFontSubstitutes();

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QString::fromStdString(document.title));
        writer.setCreator(QStringLiteral("Veltrane"));
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) {
            return {{}, "the PDF could not be started"};
        }
        bool firstPage = true;
        for (const Document& part : Parts(document)) {
            if (!PrintPart(part, writer, painter, firstPage)) {
                return {{}, "a drawing could not be read"};
            }
        }
        painter.end();
    }
    buffer.close();
    if (buffer.data().isEmpty()) {
        return {{}, "the PDF could not be made"};
    }
    return {buffer.data().toStdString(), {}};
}

}  // namespace veltrane::sheet

#include "pdf_printer.moc"
