// SPDX-License-Identifier: GPL-3.0-or-later
// The real end of the program: immediate, from inside any event handler.
#pragma once

#include <functional>

#include "app/seams.h"

namespace veltrane {

class ProcessExit : public ExitHook {
  public:
    // beforeExit runs first (it removes the instance lock file).
    explicit ProcessExit(std::function<void()> beforeExit = {});
    // No window event runs after this; every window disappears with the process.
    [[noreturn]] void exitNow(int status) override;

  private:
    std::function<void()> beforeExit_;
};

}  // namespace veltrane
