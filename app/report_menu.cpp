// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/report_menu.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>

#include "app/calculation_window.h"
#include "app/companion_dialogs.h"
#include "app/profile_dialog.h"

namespace veltrane {

QMenu* BuildReportMenu(CalculationWindow& window, QPlainTextEdit* report, AppServices services) {
    QMenu* menu = nullptr;
    if (report->isReadOnly()) {
        menu = new QMenu(report);
        QAction* copy = menu->addAction(QStringLiteral("复制"), report, &QPlainTextEdit::copy);
        copy->setEnabled(report->textCursor().hasSelection());
        menu->addAction(QStringLiteral("全选"), report, &QPlainTextEdit::selectAll);
    } else {
        // A box the user may edit keeps the toolkit's edit actions (撤销,
        // 剪切, 粘贴, 删除 …), as the input boxes do.
        menu = report->createStandardContextMenu();
        menu->setParent(report, menu->windowFlags());
    }
    menu->setObjectName(QStringLiteral("reportMenu"));
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
                   {"按坡度/流量选型…", MakeDesignAidsDialog},
                   {"水面线…", MakeProfileDialog}};
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
    // Shift+F10 opens the menu as the Menu key does, at the text cursor.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), report);
    menuKey->setObjectName(QStringLiteral("reportMenuShortcut"));
    menuKey->setContext(Qt::WidgetShortcut);
    QObject::connect(menuKey, &QShortcut::activated, report, [report] {
        emit report->customContextMenuRequested(report->cursorRect().bottomLeft());
    });
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), &window);
    shortcut->setObjectName(QStringLiteral("sheetShortcut"));
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &window,
                     [&window, services] { RunCompanion(MakeSheetDialog(window, services)); });
}

}  // namespace veltrane
