// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_pdf/sheet_text_document.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFragment>
#include <QTextObjectInterface>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

#include "sheet/html_writer.h"
#include "views/fonts.h"

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
            QFont font(QString::fromUtf8(views::kSongFaces[0].data(),
                                         static_cast<qsizetype>(views::kSongFaces[0].size())));
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

struct SheetTextDocument::Drawings {
    std::vector<std::unique_ptr<PrintedDrawing>> list;
    std::unique_ptr<SvgObject> handler;
};

SheetTextDocument::SheetTextDocument(const Document& part, QPaintDevice* device)
    : drawings_(std::make_unique<Drawings>()) {
    for (const Block& block : part.blocks) {
        if (const auto* d = std::get_if<Drawing>(&block)) {
            auto split = SplitDrawing(d->svg);
            if (split == nullptr) {
                valid_ = false;
                return;
            }
            drawings_->list.push_back(std::move(split));
        }
    }
    if (device != nullptr) {
        document_.documentLayout()->setPaintDevice(device);
    }
    QFont font(QString::fromUtf8(views::kSongFaces[0].data(),
                                 static_cast<qsizetype>(views::kSongFaces[0].size())));
    font.setPointSizeF(10.5);
    document_.setDefaultFont(font);
    drawings_->handler = std::make_unique<SvgObject>(drawings_->list);
    document_.documentLayout()->registerHandler(kSvgObject, drawings_->handler.get());
    document_.setHtml(QString::fromStdString(WriteHtmlForPrinting(part)));
    ReplaceDrawings(document_);
}

SheetTextDocument::~SheetTextDocument() = default;

std::vector<Document> PageParts(const Document& document) {
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

}  // namespace veltrane::sheet

#include "sheet_text_document.moc"
