// SPDX-License-Identifier: GPL-3.0-or-later
// The welcome window, Form6: title, version, authors and the merits of
// precast U-channels; continue to the main window or leave.
#pragma once

#include <QDialog>

#include "app/seams.h"

namespace veltrane {

class Navigator;

class WelcomeWindow : public QDialog {
    Q_OBJECT
  public:
    WelcomeWindow(AppServices services, Navigator& navigator);

    // Runs once, after creation and before the first show: the notice when
    // another copy of the program is running.
    void Form_Load();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Command1_Click();

    AppServices services_;
    Navigator& navigator_;
};

}  // namespace veltrane
