// SPDX-License-Identifier: GPL-3.0-or-later
// --help and --version, answered before any window or display is needed:
// on a server without one, and in a script, both print and end with 0.
#pragma once

#include <optional>
#include <ostream>
#include <string_view>

namespace veltrane {

// The text of veltrane --help.
std::string_view ProgramHelpText();

// The exit status when argv asks for help or the version (having printed it
// to out), or nothing when the program is to start. Qt's own options
// (-platform, -display …) are left to Qt.
std::optional<int> AnswerInformationOptions(int argc, const char* const* argv, std::ostream& out,
                                            std::string_view version);

}  // namespace veltrane
