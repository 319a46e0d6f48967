// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/verdicts.h"

namespace veltrane::views {

std::string_view DepthAboveChannel(MessageNumber number) {
    switch (number) {
        case MessageNumber::DesignOverflow:
            return "设计水深大于渠深";
        case MessageNumber::CheckOverflow:
            return "校核水深大于渠深";
        default:
            return {};
    }
}

}  // namespace veltrane::views
