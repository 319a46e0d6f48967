// SPDX-License-Identifier: GPL-3.0-or-later
// Developer tool: renders every window, and one message box, to PNG files.
//   window-gallery OUTDIR
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextStream>
#include <cstdio>
#include <memory>

#include "app/companion_dialogs.h"
#include "app/look.h"
#include "app/message_boxes.h"
#include "app/profile_dialog.h"
#include "app/report_menu.h"
#include "app/sections_dialog.h"
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
    veltrane::tools::NoFiles files;
    veltrane::WindowRegistry windows({prompts, noExit, others, files});
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
    // The design companion of the U60 window, on its default inputs.
    auto& u60 = windows.calculationWindow(veltrane::SectionSize::U60);
    u60.show();
    auto* report = u60.findChild<QPlainTextEdit*>("Text1");
    std::unique_ptr<QMenu> menu(veltrane::BuildReportMenu(u60, report, windows.services()));
    menu->popup(u60.mapToGlobal(QPoint(250, 120)));
    ok = Save(menu.get(), out.filePath("companion-menu.png")) && ok;
    menu->hide();
    const struct {
        const char* file;
        QDialog* (*make)(veltrane::CalculationWindow&, veltrane::AppServices);
    } companions[] = {{"companion-sheet.png", veltrane::MakeSheetDialog},
                      {"companion-drawing.png", veltrane::MakeDrawingDialog},
                      {"companion-fit.png", veltrane::MakeFitDialog},
                      {"companion-rating.png", veltrane::MakeRatingDialog},
                      {"companion-design-aids.png", veltrane::MakeDesignAidsDialog}};
    for (const auto& c : companions) {
        std::unique_ptr<QDialog> dialog(c.make(u60, windows.services()));
        ok = Save(dialog.get(), out.filePath(QString::fromLatin1(c.file))) && ok;
        dialog->hide();
    }
    // 水面线: the window's reach 500 m long, then a smaller one, computed.
    {
        std::unique_ptr<QDialog> profile(veltrane::MakeProfileDialog(u60, windows.services()));
        auto* reaches = profile->findChild<QTableWidget*>("reachTable");
        reaches->item(0, 0)->setText(QStringLiteral("一支渠"));
        reaches->item(0, 1)->setText(QStringLiteral("500"));
        reaches->setCurrentCell(0, 0);
        profile->findChild<QPushButton*>("addReach")->click();
        const char* second[] = {"二支渠", "300", "U60", "800", "0.017", "0.15", "", "0.1", ""};
        for (int c = 0; c < 9; ++c) {
            reaches->item(1, c)->setText(QString::fromUtf8(second[c]));
        }
        profile->findChild<QLineEdit*>("factor")->setText(QStringLiteral("1.2"));
        profile->findChild<QPushButton*>("computeButton")->click();
        ok = Save(profile.get(), out.filePath("companion-profile.png")) && ok;
        profile->hide();
    }
    // 自定义断面 with two sections, and 选型 fitting among them.
    {
        veltrane::SessionSectionRows() = {{"U50", "0.25", "6", "0.45", "3.5", ""},
                                          {"现浇U45", "0.45", "8", "0.6", "", ""}};
        std::unique_ptr<QDialog> form(veltrane::MakeSectionsDialog(&u60, windows.services()));
        ok = Save(form.get(), out.filePath("companion-sections.png")) && ok;
        form->hide();
        std::unique_ptr<QDialog> fit(veltrane::MakeFitDialog(u60, windows.services()));
        ok = Save(fit.get(), out.filePath("companion-fit-sections.png")) && ok;
        fit->hide();
        veltrane::SessionSectionRows().clear();
    }
    // A companion refusing the window's texts: a factor out of range.
    u60.findChild<QLineEdit*>("Text7")->setText(QStringLiteral("3"));
    std::unique_ptr<QDialog> refused(veltrane::MakeFitDialog(u60, windows.services()));
    ok = Save(refused.get(), out.filePath("companion-refused.png")) && ok;
    refused->hide();
    u60.hide();

    veltrane::YesNoBox box(nullptr, QStringLiteral("设计水深已大于渠深,请选用其他U形渠道构件。"));
    ok = Save(&box, out.filePath("message-box.png")) && ok;
    auto notice = veltrane::MakeNoticeBox(nullptr, QStringLiteral("Veltrane"),
                                          QStringLiteral("程序正在运行，请检查窗口是否被最小化。"));
    ok = Save(notice.get(), out.filePath("notice-box.png")) && ok;
    return ok ? 0 : 1;
}
