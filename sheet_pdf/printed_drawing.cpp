// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_pdf/printed_drawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

#include "views/fonts.h"

namespace veltrane::sheet {

namespace {

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

}  // namespace

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

void PrintedDrawing::Draw(QPainter& painter, const QRectF& rect) const {
    shapes->render(&painter, rect);
    const QRectF box = shapes->viewBoxF();
    const double scale = rect.width() / box.width();
    painter.save();
    for (const Label& l : labels) {
        QFont font(QString::fromUtf8(views::kSongFaces[0].data(),
                                     static_cast<qsizetype>(views::kSongFaces[0].size())));
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(l.size * scale))));
        painter.setFont(font);
        painter.setPen(l.fill);
        QPointF at = rect.topLeft() + (l.at - box.topLeft()) * scale;
        const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(l.text);
        if (l.anchor == u"middle") {
            at.rx() -= width / 2;
        } else if (l.anchor == u"end") {
            at.rx() -= width;
        }
        painter.drawText(at, l.text);
    }
    painter.restore();
}

}  // namespace veltrane::sheet
