// SPDX-License-Identifier: GPL-3.0-or-later
// 水面线…: the water surface along a canal, from the report box's menu. A
// table of reaches, the window's reach first, kept for the session; the
// downstream end, the spacing and the criteria; 计算 fills the station
// tables for Q and kQ and the longitudinal profile; the sheet, the CSV and
// the drawing are exported as the other dialogs export theirs.
#pragma once

#include "app/seams.h"

class QDialog;

namespace veltrane {

class CalculationWindow;

QDialog* MakeProfileDialog(CalculationWindow& window, AppServices services);

// Forgets the reaches and conditions kept for the session, as a new session
// starts without them (the tests start each case so).
void ForgetProfileSession();

}  // namespace veltrane
