// SPDX-License-Identifier: GPL-3.0-or-later
// One calculation window (Form2, Form3, Form4, Form5 or Form7), laid out
// from its row of the layout table.
#pragma once

#include <QDialog>

#include "app/seams.h"
#include "hydraulics/calculation_run.h"
#include "views/calculation_layout.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace veltrane {

class Navigator;

class CalculationWindow : public QDialog {
    Q_OBJECT
  public:
    CalculationWindow(const CalculationLayout& layout, AppServices services, Navigator& navigator);

    const CalculationLayout& layout() const { return layout_; }
    const USection& section() const { return section_; }

    // Back to the main window: shows it and hides this one, in the order of
    // the layout. Also called after the answer No to a message.
    void fanhui();

    // Replaces the whole report box text.
    void setReportText(const QString& text);
    QString reportText() const;

    QLineEdit* inputBox(InputBox box) const;
    QPushButton* backButton() const;
    QPushButton* exitButton() const;

    // The report text as the box holds it: its lines joined by "\n".
    static QString DisplayText(std::string_view report);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Command1_Click();
    void carryOut(const CalculationMessage& message);
    void buildFrame();
    void buildBottom();

    const CalculationLayout& layout_;
    const USection& section_;
    AppServices services_;
    Navigator& navigator_;
    QPlainTextEdit* report_ = nullptr;
    std::array<QLineEdit*, kInputBoxCount> inputs_{};
    QPushButton* calculate_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace veltrane
