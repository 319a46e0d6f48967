// SPDX-License-Identifier: GPL-3.0-or-later
// One reference per window, empty at start. The first use of a window
// creates it; nothing is destroyed while the program runs.
#pragma once

#include <array>
#include <memory>

#include "app/calculation_window.h"
#include "app/main_window.h"
#include "app/navigator.h"
#include "app/seams.h"
#include "app/welcome.h"

namespace veltrane {

class WindowRegistry : public Navigator {
  public:
    explicit WindowRegistry(AppServices services);

    // The seams the windows were given.
    AppServices services() const { return services_; }
    ~WindowRegistry() override;

    // Creating the welcome window runs its load step.
    WelcomeWindow& welcome();
    MainWindow& mainWindow();
    CalculationWindow& calculationWindow(SectionSize size);

    // Null until first used.
    WelcomeWindow* existingWelcome() const { return welcome_.get(); }
    MainWindow* existingMainWindow() const { return main_.get(); }
    CalculationWindow* existingCalculationWindow(SectionSize size) const {
        return calculation_[static_cast<std::size_t>(size)].get();
    }

    void showMainWindow() override;
    void openCalculationWindow(SectionSize size) override;

  private:
    AppServices services_;
    std::unique_ptr<WelcomeWindow> welcome_;
    std::unique_ptr<MainWindow> main_;
    std::array<std::unique_ptr<CalculationWindow>, kSectionCount> calculation_;
    std::array<bool, kSectionCount> shownOnce_{};
    bool mainShownOnce_ = false;
};

}  // namespace veltrane
