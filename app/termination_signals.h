// SPDX-License-Identifier: GPL-3.0-or-later
// A log-out or `kill` ends the program as its own exit actions do: at once,
// through the exit hook, which removes this copy's instance lock.
#pragma once

#include "app/seams.h"

namespace veltrane {

// From now on SIGTERM and SIGHUP call hook.exitNow(0) from the event loop.
// Does nothing where the system has no such signals.
void EndOnTerminationSignals(ExitHook& hook);

}  // namespace veltrane
