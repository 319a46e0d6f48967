// SPDX-License-Identifier: GPL-3.0-or-later
// Text for a terminal: what a file or an argument brought in (a reach's name,
// a cell echoed in an error) must not steer the user's terminal.
#pragma once

#include <string>
#include <string_view>

namespace veltrane::cli {

// text with every control character (C0 but the line feed, DEL, and C1 as
// UTF-8) replaced by U+FFFD: an escape sequence in a name is shown, not run.
std::string TerminalText(std::string_view text);

// The columns a terminal gives text: two for a wide (East Asian) character,
// one for any other, so that a name of 渠 lines up with one of U.
std::size_t TerminalColumns(std::string_view text);

}  // namespace veltrane::cli
