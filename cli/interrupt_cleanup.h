// SPDX-License-Identifier: GPL-3.0-or-later
// What an interrupt leaves of an output file: nothing. While veltrane-calc
// writes a file it writes a temporary one beside it; SIGINT (Ctrl+C),
// SIGTERM or SIGHUP then removes that temporary file and ends the process
// with the same signal, as if it had not been caught, so that the shell and
// make see the interrupt. Only SIGKILL or a crash can leave FILE.tmp-NNN.
#pragma once

#include <string>

#if defined(__unix__) || defined(__APPLE__)
#include <signal.h>
#endif

namespace veltrane::cli {

// Installs the handlers, once, at the start of the program. A signal that
// the parent set to be ignored (nohup ignores SIGHUP, a shell's background
// job SIGINT) stays ignored.
void RemoveTemporariesOnInterrupt();

// Holds SIGINT, SIGTERM and SIGHUP back while it lives, so that creating or
// moving a temporary file and telling the handler about it are one step; a
// signal that came meanwhile is delivered when it ends. A no-op where the
// system has no signal masks.
class InterruptsHeld {
  public:
    InterruptsHeld();
    ~InterruptsHeld();
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

  private:
#if defined(__unix__) || defined(__APPLE__)
    sigset_t saved_{};  // the mask before
#endif
};

// Tells the handler to remove the file at path if a signal comes. Returns
// the watch to give to ForgetTemporary, or -1 when the path is longer than
// the handler's fixed buffer (4 kB) or four files are watched already. Call
// it with interrupts held.
int WatchTemporary(const std::string& path);

// The file is moved or removed: the handler leaves it alone. Call it with
// interrupts held; -1 is ignored.
void ForgetTemporary(int watch);

}  // namespace veltrane::cli
