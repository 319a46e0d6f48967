// SPDX-License-Identifier: GPL-3.0-or-later
// Developer tool for scripts/measure-startup.
//   startup-probe --bare      a bare Qt window of the welcome window's size
//   startup-probe --welcome   the program's own start-up
// Both end at the first paint of their window. With --memory the program
// instead opens the U60 window, calculates once and prints its peak memory.
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/file_export.h"
#include "app/instance_lock.h"
#include "app/look.h"
#include "app/message_boxes.h"
#include "app/window_placement.h"
#include "app/window_registry.h"

namespace {

// Ends the process at the first paint of the watched window.
class FirstPaint : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::fflush(nullptr);
            std::_Exit(0);
        }
        return false;
    }
};

class NoExit : public veltrane::ExitHook {
  public:
    void exitNow(int status) override { std::_Exit(status); }
};

long PeakKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    QApplication app(argc, argv);
    FirstPaint firstPaint;
    if (std::strcmp(mode, "--bare") == 0) {
        QWidget w;
        w.resize(410, 237);
        w.installEventFilter(&firstPaint);
        w.show();
        return app.exec();
    }
    veltrane::ui::InstallLook(app);
    veltrane::QtPrompter prompter;
    QTemporaryDir folder;
    veltrane::InstanceLock instances(folder.path());
    NoExit exitHook;
    veltrane::QtFileChooser files;
    veltrane::WindowRegistry windows({prompter, exitHook, instances, files});
    if (std::strcmp(mode, "--memory") == 0) {
        windows.welcome();
        windows.showMainWindow();
        windows.openCalculationWindow(veltrane::SectionSize::U60);
        auto& w = windows.calculationWindow(veltrane::SectionSize::U60);
        QApplication::processEvents();
        w.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        QApplication::processEvents();
        std::printf("%ld\n", PeakKilobytes());
        return 0;
    }
    auto& welcome = windows.welcome();
    welcome.installEventFilter(&firstPaint);
    veltrane::ui::ShowCentred(&welcome);
    return app.exec();
}
