// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/svg_view.h"

#include <QPainter>

#include "views/fonts.h"

namespace veltrane {

namespace {

// Qt SVG reads a font-family list as one name, which no font has; the
// drawings' labels then lose their Chinese. Given the first name alone, the
// program's font substitutions find the Song face.
QByteArray WithOneFace(const QByteArray& svg) {
    const std::string one = views::WithSingleFontFace(svg.toStdString());
    return QByteArray(one.data(), static_cast<qsizetype>(one.size()));
}

}  // namespace

SvgView::SvgView(const QByteArray& svg, QWidget* parent)
    : QWidget(parent), renderer_(WithOneFace(svg)) {
    setMinimumSize(240, 160);
}

void SvgView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QSizeF own = renderer_.viewBoxF().size();
    if (own.isEmpty()) {
        return;
    }
    const QSizeF fitted = own.scaled(QSizeF(size()), Qt::KeepAspectRatio);
    const QPointF corner((width() - fitted.width()) / 2, (height() - fitted.height()) / 2);
    renderer_.render(&painter, QRectF(corner, fitted));
}

}  // namespace veltrane
