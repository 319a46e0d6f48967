// SPDX-License-Identifier: GPL-3.0-or-later
// What the companion dialogs work on: the window's size and the texts of its
// four boxes, and the reach's details and criteria the engineer gave in the
// 计算书 dialog, kept for the rest of the session (the program stores no
// settings).
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "hydraulics/calculation_run.h"
#include "hydraulics/design_criteria.h"
#include "sheet/sheet_builder.h"
#include "views/criteria.h"

namespace veltrane {

class CalculationWindow;

struct WindowTexts {
    SectionSize size;
    std::string discharge, slope, roughness, factor;  // as the boxes hold them

    CalculationInputs inputs() const { return {discharge, slope, roughness, factor}; }
};

WindowTexts TextsOf(const CalculationWindow& window);

struct SheetDetails {
    QString project, channel, station, designer;
    // The title block and the signatures.
    QString unit, stage, number, checker, approver;
    // 计算依据, one line each; blank lines are skipped.
    QString basis;
    // Where each criterion comes from, as cited.
    QString minFreeboardSource, minVelocitySource, maxVelocitySource;
    // Criteria as typed; an empty text gives none.
    QString minFreeboard, minVelocity, maxVelocity, minDischarge;
};

// The one set of details for the session.
SheetDetails& SessionSheetDetails();

// The title block and signatures they give a sheet, dated today.
sheet::ReachDetails ReachDetailsOf(const SheetDetails& details);

// 计算依据 as lines: each trimmed, blank ones skipped.
std::vector<std::string> BasisOf(const SheetDetails& details);

// The criteria the details give, read by the one rule the command line and
// the page use: an empty text gives none, a text that cannot be read is
// refused (and said), never dropped.
views::CriteriaReading CriteriaOf(const SheetDetails& details);

// The problems of a reading in Chinese, one per line; empty when there are none.
QString CriteriaProblemsText(const views::CriteriaReading& reading);

// What the run says about the texts when they are rejected (messages 1 to 4
// and 7), or an empty text.
QString RejectionOf(const CalculationOutcome& outcome);

}  // namespace veltrane
