// SPDX-License-Identifier: GPL-3.0-or-later
// One press of the calculate button, the report written into Text1 included.
// Run: build/bench/window_bench -platform offscreen
#include <QPushButton>
#include <QtTest>

#include "app/calculation_window.h"
#include "app/look.h"
#include "app/window_registry.h"
#include "tools/quiet_seams.h"

class WindowBench : public QObject {
    Q_OBJECT
  private slots:
    void calculate();
};

void WindowBench::calculate() {
    veltrane::ui::InstallLook(*qApp);
    veltrane::tools::NoPrompts prompts;
    veltrane::tools::NoExit exit;
    veltrane::tools::NoOthers copies;
    veltrane::tools::NoFiles files;
    veltrane::WindowRegistry windows{{prompts, exit, copies, files}};
    windows.mainWindow();
    windows.openCalculationWindow(veltrane::SectionSize::U60);
    auto& w = windows.calculationWindow(veltrane::SectionSize::U60);
    auto* calculate = w.findChild<QPushButton*>("Command1");
    QBENCHMARK {
        calculate->click();
    }
    QVERIFY(w.reportText().endsWith("45.034"));
}

QTEST_MAIN(WindowBench)
#include "window_bench.moc"
