// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/process_exit.h"

#include <cstdio>
#include <cstdlib>

namespace veltrane {

ProcessExit::ProcessExit(std::function<void()> beforeExit) : beforeExit_(std::move(beforeExit)) {}

void ProcessExit::exitNow(int status) {
    if (beforeExit_) {
        beforeExit_();
    }
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace veltrane
