// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_registry.h"

#include "app/look.h"
#include "app/window_placement.h"

namespace veltrane {

WindowRegistry::WindowRegistry(AppServices services) : services_(services) {}

WindowRegistry::~WindowRegistry() = default;

WelcomeWindow& WindowRegistry::welcome() {
    if (!welcome_) {
        welcome_ = std::make_unique<WelcomeWindow>(services_, *this);
        welcome_->Form_Load();
    }
    return *welcome_;
}

MainWindow& WindowRegistry::mainWindow() {
    if (!main_) {
        main_ = std::make_unique<MainWindow>(services_, *this);
    }
    return *main_;
}

CalculationWindow& WindowRegistry::calculationWindow(SectionSize size) {
    auto& slot = calculation_[static_cast<std::size_t>(size)];
    if (!slot) {
        slot = std::make_unique<CalculationWindow>(LayoutFor(size), services_, *this);
    }
    return *slot;
}

void WindowRegistry::showMainWindow() {
    MainWindow& w = mainWindow();
    if (!mainShownOnce_) {
        mainShownOnce_ = true;
        ui::ShowCentred(&w);  // centred at its first show only
    } else {
        w.show();
    }
    w.raise();
    w.activateWindow();
}

void WindowRegistry::openCalculationWindow(SectionSize size) {
    CalculationWindow& w = calculationWindow(size);
    auto& shown = shownOnce_[static_cast<std::size_t>(size)];
    if (!shown) {
        shown = true;
        ui::ShowCentred(&w);
    } else {
        w.show();
    }
    w.raise();
    w.activateWindow();
    if (main_) {
        main_->hide();
    }
    w.setReportText(
        QString::fromUtf8(LookupSection(size).reportHeader.data(),
                          static_cast<qsizetype>(LookupSection(size).reportHeader.size())));
}

}  // namespace veltrane
