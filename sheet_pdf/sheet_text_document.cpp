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
#include "sheet_pdf/printed_drawing.h"
#include "views/fonts.h"

namespace veltrane::sheet {

namespace {

constexpr int kSvgObject = QTextFormat::UserObject + 1;
constexpr int kDrawingIndex = QTextFormat::UserProperty + 1;

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
        // The drawing's share of the text width, in its own proportions.
        const QSizeF own = d->shapes->viewBoxF().size();
        const double width =
            d->printedWidth * (doc->pageSize().width() - 2 * doc->documentMargin());
        return {width, width * own.height() / own.width()};
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override {
        if (const PrintedDrawing* d = Find(format)) {
            d->Draw(*painter, rect);
        }
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
            split->printedWidth = d->printedWidth;
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

}  // namespace veltrane::sheet

#include "sheet_text_document.moc"
