// SPDX-License-Identifier: GPL-3.0-or-later
// The report box's CR LF line breaks, as plain line feeds for files,
// terminals and web pages.
#pragma once

#include <string>
#include <string_view>

namespace veltrane::views {

// Each CR LF becomes LF; a lone CR stays.
std::string UnixLines(std::string_view text);

}  // namespace veltrane::views
