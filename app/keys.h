// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard rules shared by the windows.
#pragma once

class QAbstractButton;
class QKeyEvent;

namespace veltrane::ui {

// Esc presses the window's cancel button, or nothing where it has none, and
// never reaches QDialog::reject(), which would close the window. Returns
// true when the key was Esc and so has been dealt with.
bool HandleEscape(QKeyEvent* event, QAbstractButton* cancel);

}  // namespace veltrane::ui
