// SPDX-License-Identifier: GPL-3.0-or-later
// The main selection window, Form1: choose a section size and open its
// calculation window. It also shows the table of standard dimensions.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <array>

#include "app/seams.h"
#include "hydraulics/section_catalogue.h"

class QRadioButton;
class QPushButton;

namespace veltrane {

class Navigator;

class MainWindow : public QDialog {
    Q_OBJECT
  public:
    MainWindow(AppServices services, Navigator& navigator);

    QRadioButton* option(SectionSize size) const;
    // The first selected option, if any.
    std::optional<SectionSize> selectedSize() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Since the window was last shown, to tell the tail of a double-click on
    // the button that showed it from a click on the bare surface.
    QElapsedTimer shown_;
    void Command1_Click();
    void buildTable(QWidget* frame);
    void updateOptionFocus();

    AppServices services_;
    Navigator& navigator_;
    std::array<QRadioButton*, kSectionCount> options_{};
};

}  // namespace veltrane
