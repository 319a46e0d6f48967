// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/report_menu.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>

#include "app/calculation_window.h"
#include "app/companion_dialogs.h"

namespace veltrane {

QMenu* BuildReportMenu(CalculationWindow& window, QPlainTextEdit* report, AppServices services) {
    auto* menu = new QMenu(report);
    menu->setObjectName(QStringLiteral("reportMenu"));
    QAction* copy = menu->addAction(QStringLiteral("复制"), report, &QPlainTextEdit::copy);
    copy->setEnabled(report->textCursor().hasSelection());
    menu->addAction(QStringLiteral("全选"), report, &QPlainTextEdit::selectAll);
    menu->addSeparator();
    menu->addAction(QStringLiteral("复制计算成果"), report, [report] {
        // As the window holds it, with the line breaks of the report: CR LF.
        QString text = report->toPlainText();
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        QApplication::clipboard()->setText(text);
    });
    const struct {
        const char* text;
        QDialog* (*make)(CalculationWindow&, AppServices);
    } dialogs[] = {{"计算书…", MakeSheetDialog},
                   {"断面图…", MakeDrawingDialog},
                   {"选型…", MakeFitDialog},
                   {"水位流量关系…", MakeRatingDialog},
                   {"按坡度/流量选型…", MakeDesignAidsDialog}};
    for (const auto& item : dialogs) {
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        const auto make = item.make;
        QObject::connect(action, &QAction::triggered, &window,
                         [&window, services, make] { RunCompanion(make(window, services)); });
        if (make == MakeSheetDialog) {
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
        }
    }
    return menu;
}

void InstallReportMenu(CalculationWindow& window, QPlainTextEdit* report, AppServices services) {
    report->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(report, &QPlainTextEdit::customContextMenuRequested, &window,
                     [&window, report, services](const QPoint& at) {
                         QMenu* menu = BuildReportMenu(window, report, services);
                         menu->exec(report->viewport()->mapToGlobal(at));
                         delete menu;
                     });
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), &window);
    shortcut->setObjectName(QStringLiteral("sheetShortcut"));
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &window,
                     [&window, services] { RunCompanion(MakeSheetDialog(window, services)); });
}

}  // namespace veltrane
