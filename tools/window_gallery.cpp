// SPDX-License-Identifier: GPL-3.0-or-later
// Developer tool: renders every window, and one message box, to PNG files.
//   window-gallery OUTDIR
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTextStream>
#include <cstdio>

#include "app/look.h"
#include "app/message_boxes.h"
#include "app/window_registry.h"
#include "tools/quiet_seams.h"

namespace {

using veltrane::tools::NoExit;
using veltrane::tools::NoOthers;
using veltrane::tools::NoPrompts;

bool Save(QWidget* w, const QString& path) {
    w->show();
    QApplication::processEvents();
    const bool ok = w->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: window-gallery OUTDIR\n");
        return 2;
    }
    veltrane::ui::InstallLook(app);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());

    NoPrompts prompts;
    NoExit noExit;
    NoOthers others;
    veltrane::WindowRegistry windows({prompts, noExit, others});
    bool ok = Save(&windows.welcome(), out.filePath("form6-welcome.png"));
    ok = Save(&windows.mainWindow(), out.filePath("form1-main.png")) && ok;
    for (int i = 0; i < veltrane::kSectionCount; ++i) {
        const auto size = static_cast<veltrane::SectionSize>(i);
        windows.openCalculationWindow(size);
        auto& w = windows.calculationWindow(size);
        const QString name = QString::fromLatin1(w.layout().formName).toLower() + "-" +
                             QString::fromUtf8(veltrane::SectionName(size).data()).toLower();
        ok = Save(&w, out.filePath(name + ".png")) && ok;
        w.findChild<QPushButton*>("Command1")->click();
        ok = Save(&w, out.filePath(name + "-report.png")) && ok;
        w.hide();
    }
    veltrane::YesNoBox box(nullptr, QStringLiteral("设计水深已大于渠深,请选用其他U形渠道构件。"));
    ok = Save(&box, out.filePath("message-box.png")) && ok;
    auto notice = veltrane::MakeNoticeBox(nullptr, QStringLiteral("Veltrane"),
                                          QStringLiteral("程序正在运行，请检查窗口是否被最小化。"));
    ok = Save(notice.get(), out.filePath("notice-box.png")) && ok;
    return ok ? 0 : 1;
}
