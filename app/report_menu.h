// SPDX-License-Identifier: GPL-3.0-or-later
// The way into the design companion, which adds no control to the window:
// the report box's context menu, and Ctrl+P for the calculation sheet.
#pragma once

#include "app/seams.h"

class QMenu;
class QPlainTextEdit;

namespace veltrane {

class CalculationWindow;

// The menu as the report box shows it: 复制 and 全选 of the toolkit, then
// 复制计算成果, 计算书…, 断面图…, 选型… and 水位流量关系….
QMenu* BuildReportMenu(CalculationWindow& window, QPlainTextEdit* report, AppServices services);

// Gives the report box its menu (right click, or the Menu key) and the
// window its Ctrl+P.
void InstallReportMenu(CalculationWindow& window, QPlainTextEdit* report, AppServices services);

}  // namespace veltrane
