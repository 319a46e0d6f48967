// SPDX-License-Identifier: GPL-3.0-or-later
// The design companion of a calculation window: modal dialogs that work on
// the window's size and the texts of its boxes, and change nothing in it.
#pragma once

#include "app/seams.h"

class QDialog;

namespace veltrane {

class CalculationWindow;

// Each builds its dialog for the window as it stands; the caller runs it.
QDialog* MakeSheetDialog(CalculationWindow& window, AppServices services);
QDialog* MakeDrawingDialog(CalculationWindow& window, AppServices services);
QDialog* MakeFitDialog(CalculationWindow& window, AppServices services);
QDialog* MakeRatingDialog(CalculationWindow& window, AppServices services);
QDialog* MakeDesignAidsDialog(CalculationWindow& window, AppServices services);

// Builds one and runs it modally, then deletes it.
void RunCompanion(QDialog* dialog);

}  // namespace veltrane
