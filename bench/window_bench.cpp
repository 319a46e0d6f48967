// One press of the calculate button, the report written into Text1 included.
// Run: build/bench/window_bench -platform offscreen
#include <QPushButton>
#include <QtTest>

#include "app/calculation_window.h"
#include "app/look.h"
#include "app/window_registry.h"

namespace {

class NoPrompts : public veltrane::Prompter {
  public:
    bool askYesNo(QWidget*, const QString&) override { return true; }
    void notice(QWidget*, const QString&, const QString&) override {}
};

class NoExit : public veltrane::ExitHook {
  public:
    void exitNow(int) override {}
};

class NoOtherCopy : public veltrane::InstanceDetector {
  public:
    bool anotherInstanceRunning() override { return false; }
};

}  // namespace

class WindowBench : public QObject {
    Q_OBJECT
  private slots:
    void calculate();
};

void WindowBench::calculate() {
    veltrane::ui::InstallLook(*qApp);
    NoPrompts prompts;
    NoExit exit;
    NoOtherCopy copies;
    veltrane::WindowRegistry windows{{prompts, exit, copies}};
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
