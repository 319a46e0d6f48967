// SPDX-License-Identifier: GPL-3.0-or-later
// One press of the calculate button, the report written into Text1 included.
// Run: build/bench/window_bench -platform offscreen
#include <QDialog>
#include <QPushButton>
#include <QtTest>

#include "app/calculation_window.h"
#include "app/companion_dialogs.h"
#include "app/look.h"
#include "app/window_registry.h"
#include "sheet/sheet_builder.h"
#include "sheet_pdf/pdf_printer.h"
#include "tools/quiet_seams.h"

class WindowBench : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void calculate();
    void openDialog_data();
    void openDialog();
    void printSheetToPdf();

  private:
    std::unique_ptr<veltrane::tools::NoPrompts> prompts_;
    std::unique_ptr<veltrane::tools::NoExit> exit_;
    std::unique_ptr<veltrane::tools::NoOthers> copies_;
    std::unique_ptr<veltrane::tools::NoFiles> files_;
    std::unique_ptr<veltrane::WindowRegistry> windows_;
};

void WindowBench::initTestCase() {
    veltrane::ui::InstallLook(*qApp);
    prompts_ = std::make_unique<veltrane::tools::NoPrompts>();
    exit_ = std::make_unique<veltrane::tools::NoExit>();
    copies_ = std::make_unique<veltrane::tools::NoOthers>();
    files_ = std::make_unique<veltrane::tools::NoFiles>();
    windows_ = std::make_unique<veltrane::WindowRegistry>(
        veltrane::AppServices{*prompts_, *exit_, *copies_, *files_});
    windows_->mainWindow();
    windows_->openCalculationWindow(veltrane::SectionSize::U60);
}

using Maker = QDialog* (*)(veltrane::CalculationWindow&, veltrane::AppServices);
Q_DECLARE_METATYPE(Maker)

// Building a companion dialog and showing it, on the U60 default inputs.
void WindowBench::openDialog_data() {
    QTest::addColumn<Maker>("make");
    QTest::newRow("sheet") << Maker(veltrane::MakeSheetDialog);
    QTest::newRow("drawing") << Maker(veltrane::MakeDrawingDialog);
    QTest::newRow("fit") << Maker(veltrane::MakeFitDialog);
    QTest::newRow("rating") << Maker(veltrane::MakeRatingDialog);
}

void WindowBench::openDialog() {
    QFETCH(Maker, make);
    auto& w = windows_->calculationWindow(veltrane::SectionSize::U60);
    QBENCHMARK {
        std::unique_ptr<QDialog> d(make(w, windows_->services()));
        d->show();
        QApplication::processEvents();
    }
}

void WindowBench::printSheetToPdf() {
    const veltrane::sheet::SheetRequest r{
        .section = veltrane::StandardRef(veltrane::SectionSize::U60),
        .discharge = "0.25",
        .slope = "500",
        .roughness = "0.017",
        .factor = "1.0"};
    QBENCHMARK {
        QVERIFY(!veltrane::sheet::PrintPdf(veltrane::sheet::BuildSheet(r)).bytes.empty());
    }
}

void WindowBench::calculate() {
    auto& w = windows_->calculationWindow(veltrane::SectionSize::U60);
    auto* calculate = w.findChild<QPushButton*>("Command1");
    QBENCHMARK {
        calculate->click();
    }
    QVERIFY(w.reportText().endsWith("45.034"));
}

QTEST_MAIN(WindowBench)
#include "window_bench.moc"
