// SPDX-License-Identifier: GPL-3.0-or-later
// What the companion dialogs work on: the window's size and the texts of its
// four boxes, and the reach's details and criteria the engineer gave in the
// 计算书 dialog, kept for the rest of the session (the program stores no
// settings).
#pragma once

#include <QString>
#include <string>

#include "hydraulics/calculation_run.h"
#include "hydraulics/design_criteria.h"

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
    // Criteria as typed; an empty text gives none.
    QString minFreeboard, minVelocity, maxVelocity;
};

// The one set of details for the session.
SheetDetails& SessionSheetDetails();

// The criteria the details give. A text that is not a number of 0 or more
// gives none.
DesignCriteria CriteriaOf(const SheetDetails& details);

// What the run says about the texts when they are rejected (messages 1 to 4
// and 7), or an empty text.
QString RejectionOf(const CalculationOutcome& outcome);

}  // namespace veltrane
