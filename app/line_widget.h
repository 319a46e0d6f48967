// SPDX-License-Identifier: GPL-3.0-or-later
// A straight horizontal or vertical line of the layouts, in its own colour
// and width. It lets mouse clicks through, as a drawn line does.
#pragma once

#include <QWidget>

namespace veltrane::ui {

class LineWidget : public QWidget {
    Q_OBJECT
  public:
    // From and to in twips of the parent; widthPx in pixels (1 or 2).
    LineWidget(QWidget* parent, const QString& name, QPoint fromTwips, QPoint toTwips,
               const QColor& colour, int widthPx);

    QColor colour() const { return colour_; }
    int lineWidth() const { return width_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor colour_;
    int width_;
};

}  // namespace veltrane::ui
