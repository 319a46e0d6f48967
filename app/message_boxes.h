// SPDX-License-Identifier: GPL-3.0-or-later
// The program's real message boxes.
#pragma once

#include <QMessageBox>
#include <memory>

#include "app/seams.h"

namespace veltrane {

// The Yes/No box of the calculation messages. Esc and the close box give no
// answer, as on desktops where a Yes/No box has no Cancel; Y and N answer it.
class YesNoBox : public QMessageBox {
  public:
    YesNoBox(QWidget* parent, const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

// The start-up notice: OK only ("确定"), no icon.
std::unique_ptr<QMessageBox> MakeNoticeBox(QWidget* parent, const QString& title,
                                           const QString& text);

class QtPrompter : public Prompter {
  public:
    bool askYesNo(QWidget* parent, const QString& text) override;
    void notice(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace veltrane
