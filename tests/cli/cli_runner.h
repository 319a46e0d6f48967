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

}  // namespace veltrane::cli::test
