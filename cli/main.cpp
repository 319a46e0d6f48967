// SPDX-License-Identifier: GPL-3.0-or-later
#include <csignal>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/interrupt_cleanup.h"
#include "cli/veltrane_cli.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
#ifdef SIGPIPE
    // A reader that goes away (… | head -1) makes the next write fail with
    // EPIPE, which is said, with exit status 3, instead of a silent death.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    // Ctrl+C while a file is written leaves no temporary file behind.
    veltrane::cli::RemoveTemporariesOnInterrupt();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return veltrane::cli::RunCli(args, std::cin, std::cout, std::cerr);
}
