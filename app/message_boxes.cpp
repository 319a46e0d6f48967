// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/message_boxes.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "app/look.h"
#include "app/window_placement.h"

namespace veltrane {

YesNoBox::YesNoBox(QWidget* parent, const QString& text)
    : QMessageBox(QMessageBox::Critical, QStringLiteral("Dorvane"), text,
                  QMessageBox::Yes | QMessageBox::No, parent) {
    setDefaultButton(QMessageBox::Yes);
    button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    // The box has no answer but Yes and No: the window manager is asked for
    // no close button (and so no Alt+F4), rather than offering one that
    // does nothing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

void YesNoBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QMessageBox::keyPressEvent(event);  // Y and N press their buttons here
}

void YesNoBox::closeEvent(QCloseEvent* event) {
    event->ignore();
}

std::unique_ptr<QMessageBox> MakeNoticeBox(QWidget* parent, const QString& title,
                                           const QString& text) {
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    return box;
}

bool QtPrompter::askYesNo(QWidget* parent, const QString& text) {
    YesNoBox box(parent, text);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

void QtPrompter::notice(QWidget* parent, const QString& title, const QString& text) {
    // Centred on the screen like the windows, not in its top-left corner.
    const auto box = MakeNoticeBox(parent, title, text);
    ui::ShowCentred(box.get());
    box->exec();
}

}  // namespace veltrane
