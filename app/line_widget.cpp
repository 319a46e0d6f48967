// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/line_widget.h"

#include <QPainter>

#include "app/look.h"

namespace veltrane::ui {

LineWidget::LineWidget(QWidget* parent, const QString& name, QPoint fromTwips, QPoint toTwips,
                       const QColor& colour, int widthPx)
    : QWidget(parent), colour_(colour), width_(widthPx) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    const QPoint a(Px(fromTwips.x()), Px(fromTwips.y()));
    const QPoint b(Px(toTwips.x()), Px(toTwips.y()));
    const int half = (widthPx - 1) / 2;  // the pen straddles the line's coordinate
    QRect r(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
            QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
    if (a.y() == b.y()) {
        r.setTop(r.top() - half);
        r.setHeight(widthPx);
    } else {
        r.setLeft(r.left() - half);
        r.setWidth(widthPx);
    }
    setGeometry(r);
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
}

}  // namespace veltrane::ui
