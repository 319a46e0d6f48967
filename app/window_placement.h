// SPDX-License-Identifier: GPL-3.0-or-later
// Where windows and dialogs first appear: a window's whole frame (the window
// manager's title bar and borders included) centred on the screen, a dialog's
// centred on its parent window's frame, both kept on the screen.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QApplication;
class QWidget;

namespace veltrane::ui {

// The client rectangle of a window of size client whose frame (client grown
// by frame) is centred on area and then moved, if need be, to lie within
// bounds; where the frame is larger than bounds, its top left corner stays
// inside, so the title bar remains on the screen. Pixels.
QRect CentredClient(QSize client, QMargins frame, QRect area, QRect bounds);

// Shows the window with its frame centred on its screen.
void ShowCentred(QWidget* window);

// From now on, every dialog with a parent is placed, as it shows, with its
// frame centred on its parent window's frame. Idempotent.
void InstallDialogPlacement(QApplication& app);

}  // namespace veltrane::ui
