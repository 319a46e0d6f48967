// SPDX-License-Identifier: GPL-3.0-or-later
// The main selection window, Form1: choose a section size and open its
// calculation window. It also shows the table of standard dimensions.
#pragma once

#include <QDialog>
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
    void closeEvent(QCloseEvent* event) override;

  private:
    void Command1_Click();
    void buildTable(QWidget* frame);
    void updateOptionFocus();

    AppServices services_;
    Navigator& navigator_;
    std::array<QRadioButton*, kSectionCount> options_{};
};

}  // namespace veltrane
