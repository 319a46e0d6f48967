// SPDX-License-Identifier: GPL-3.0-or-later
// veltrane-calc's command line, apart from the process around it.
#pragma once

#include <istream>
#include <ostream>
#include <string_view>
#include <vector>

namespace veltrane::cli {

// Runs veltrane-calc with args (without the program name); "--batch -" reads
// in. Returns the exit status.
int RunCli(const std::vector<std::string_view>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

}  // namespace veltrane::cli
