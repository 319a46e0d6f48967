// SPDX-License-Identifier: GPL-3.0-or-later
// How wide a frame the window manager will put around a window, asked before
// the window is first shown, so that it can be placed centred with its frame
// from the start.
#pragma once

#include <QMargins>
#include <optional>

class QWidget;

namespace veltrane {

// The frame of window (left, top, right, bottom), asked of an X11 window
// manager that supports EWMH's _NET_REQUEST_FRAME_EXTENTS; nothing on other
// platforms, or when the manager does not answer within 200 ms. Creates the
// native window, unmapped.
std::optional<QMargins> RequestFrameExtents(QWidget* window);

// Asks an X11 window manager not to let the user move or resize window (the
// functions of its Motif hints), as a frameless window offers no handle to
// do so; call it right after the first show(). Nothing on other platforms;
// a manager that ignores Motif functions still allows Alt+drag.
void AskNotToMove(QWidget* window);

}  // namespace veltrane
