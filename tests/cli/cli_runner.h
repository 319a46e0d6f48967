// SPDX-License-Identifier: GPL-3.0-or-later
// Runs veltrane-calc in-process and keeps what it said.
#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/veltrane_cli.h"

namespace veltrane::cli::test {

struct Result {
    int status;
    std::string out;
    std::string err;
};

inline Result Cli(const std::vector<std::string_view>& args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(args, in, out, err);
    return {status, out.str(), err.str()};
}

// What a usage error says: its one line, and where to read more.
inline constexpr std::string_view kHelpHint = "Try 'veltrane-calc --help' for more information.\n";

// Whether err is a usage error: "veltrane-calc: " and one line, then the hint.
inline bool IsUsageError(const std::string& err) {
    const std::string_view e(err);
    const std::size_t firstBreak = e.find('\n');
    return e.starts_with("veltrane-calc: ") && firstBreak != e.npos && firstBreak > 15 &&
           e.substr(firstBreak + 1) == kHelpHint;
}

}  // namespace veltrane::cli::test
