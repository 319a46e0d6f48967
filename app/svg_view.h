// SPDX-License-Identifier: GPL-3.0-or-later
// An SVG drawing scaled to the widget, keeping its proportions; redrawn when
// the widget is resized.
#pragma once

#include <QSvgRenderer>
#include <QWidget>

namespace veltrane {

class SvgView : public QWidget {
  public:
    explicit SvgView(const QByteArray& svg, QWidget* parent = nullptr);
    bool valid() const { return renderer_.isValid(); }
    QSize sizeHint() const override { return {640, 420}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QSvgRenderer renderer_;
};

}  // namespace veltrane
