// SPDX-License-Identifier: GPL-3.0-or-later
// 自定义断面: the user's sections for the session, typed or imported from a
// catalogue file, checked as veltrane-calc reads --catalogue. 选型 fits among
// them and 水面线's size column may name them; the windows keep their five.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "app/seams.h"
#include "cli/section_catalogue_file.h"

class QDialog;
class QPushButton;
class QWidget;

namespace veltrane {

// The table as typed, kept for the rest of the session.
std::vector<cli::SectionCells>& SessionSectionRows();

// The session's table read as a catalogue: the standard five and its rows,
// or its problems.
cli::CatalogueReading SessionSections();

// The problems after the form's lead, one a line; empty when there are none.
QString SectionProblemsText(const cli::CatalogueReading& reading);

// The form, modal over parent.
QDialog* MakeSectionsDialog(QWidget* parent, AppServices services);

// "自定义断面…" for a companion dialog's row of buttons: opens the form, and
// calls changed once it closes.
QPushButton* SectionsButton(QWidget* parent, AppServices services,
                            const std::function<void()>& changed);

}  // namespace veltrane
