// SPDX-License-Identifier: GPL-3.0-or-later
// The short verdicts of a run, as tables, drawings and summaries print them.
#pragma once

#include <string_view>

#include "hydraulics/calculation_run.h"

namespace veltrane::views {

// "设计水深大于渠深" (message 5) or "校核水深大于渠深" (message 6); "" for any
// other message number.
std::string_view DepthAboveChannel(MessageNumber number);

// "满足" and "不满足": a criterion or a section that does or does not serve.
inline constexpr std::string_view kMeets = "满足";
inline constexpr std::string_view kFails = "不满足";

}  // namespace veltrane::views
