// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/interrupt_cleanup.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iterator>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#define VELTRANE_POSIX_SIGNALS 1
#endif

namespace veltrane::cli {

namespace {

// The signals that ask a run to stop; SIGHUP where the system has it.
constexpr int kSignals[] = {
    SIGINT,
    SIGTERM,
#ifdef SIGHUP
    SIGHUP,
#endif
};

// A file the handler removes. The handler may only read what is already
// there, so each file has a fixed buffer, and the flag is set after the
// path is in it and cleared before it changes.
struct Watched {
    volatile std::sig_atomic_t armed = 0;
    char path[4096 + 64];  // PATH_MAX, and ".tmp-" with its number
};

// One file at a time in practice; a few for a command that writes two.
Watched watched[4];

// Async-signal-safe only: unlink, signal and raise.
void OnInterrupt(int signal) {
    for (const Watched& w : watched) {
        if (w.armed != 0) {
#ifdef VELTRANE_POSIX_SIGNALS
            ::unlink(w.path);
#else
            std::remove(w.path);
#endif
        }
    }
    // The default action, delivered when the handler returns: the process
    // ends of this signal.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void RemoveTemporariesOnInterrupt() {
#ifdef VELTRANE_POSIX_SIGNALS
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (const int s : kSignals) {
        sigaddset(&action.sa_mask, s);
    }
    for (const int s : kSignals) {
        struct sigaction old {};
        if (sigaction(s, nullptr, &old) == 0 && old.sa_handler != SIG_IGN) {
            sigaction(s, &action, nullptr);
        }
    }
#else
    for (const int s : kSignals) {
        if (std::signal(s, OnInterrupt) == SIG_IGN) {
            std::signal(s, SIG_IGN);
        }
    }
#endif
}

InterruptsHeld::InterruptsHeld() {
#ifdef VELTRANE_POSIX_SIGNALS
    sigset_t held;
    sigemptyset(&held);
    for (const int s : kSignals) {
        sigaddset(&held, s);
    }
    sigprocmask(SIG_BLOCK, &held, &saved_);
#endif
}

InterruptsHeld::~InterruptsHeld() {
#ifdef VELTRANE_POSIX_SIGNALS
    sigprocmask(SIG_SETMASK, &saved_, nullptr);
#endif
}

int WatchTemporary(const std::string& path) {
    for (std::size_t i = 0; i < std::size(watched); ++i) {
        Watched& w = watched[i];
        if (w.armed == 0 && path.size() < sizeof w.path) {
            std::memcpy(w.path, path.c_str(), path.size() + 1);
            std::atomic_signal_fence(std::memory_order_seq_cst);
            w.armed = 1;
            return static_cast<int>(i);
        }
    }
    return -1;
}

void ForgetTemporary(int watch) {
    if (watch >= 0 && static_cast<std::size_t>(watch) < std::size(watched)) {
        watched[watch].armed = 0;
        std::atomic_signal_fence(std::memory_order_seq_cst);
    }
}

}  // namespace veltrane::cli
