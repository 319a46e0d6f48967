// SPDX-License-Identifier: GPL-3.0-or-later
// Moving between the windows. The window registry implements it.
#pragma once

#include "hydraulics/section_catalogue.h"

namespace veltrane {

class Navigator {
  public:
    virtual ~Navigator() = default;
    // Shows the main selection window (creating it on first use) and brings
    // it to the front.
    virtual void showMainWindow() = 0;
    // Shows the calculation window of size (creating it on first use), hides
    // the main window, then writes the size's report header into its Text1.
    virtual void openCalculationWindow(SectionSize size) = 0;
};

}  // namespace veltrane
