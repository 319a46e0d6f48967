// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/keys.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace veltrane::ui {

bool HandleEscape(QKeyEvent* event, QAbstractButton* cancel) {
    if (event->key() != Qt::Key_Escape) {
        return false;
    }
    event->accept();
    if (cancel != nullptr && event->modifiers() == Qt::NoModifier) {
        cancel->click();
    }
    return true;
}

}  // namespace veltrane::ui
