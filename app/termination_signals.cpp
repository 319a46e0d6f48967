// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/termination_signals.h"

#ifndef _WIN32
#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <csignal>
#endif

namespace veltrane {

#ifdef _WIN32
void EndOnTerminationSignals(ExitHook&) {}
#else
namespace {

// The handler may only do what is async-signal-safe: it writes a byte that
// the event loop reads (the self-pipe way).
int signalSocket[2] = {-1, -1};

extern "C" void OnTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalSocket[0], &byte, 1);
}

}  // namespace

void EndOnTerminationSignals(ExitHook& hook) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [&hook] { hook.exitNow(0); });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}
#endif

}  // namespace veltrane
