// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/lines.h"

namespace veltrane::views {

std::string UnixLines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') {
            out += text[i];
        }
    }
    return out;
}

}  // namespace veltrane::views
